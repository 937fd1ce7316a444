// A calendar date-time as the program stores it: days since 30 December 1899
// in a double (the fraction is the time of day), with a status. A date that was
// never set is null; one that could not be formed is invalid.
#pragma once

#include <string>
#include <string_view>

namespace qv {

struct DateParts {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

class Date {
 public:
  enum class Status { Valid, Invalid, Null };

  Date() = default;  // null
  static Date Null() { return Date(); }
  static Date Invalid();
  static Date FromDays(double days);
  // Invalid when the parts break the calendar (31 February, month 13, ...).
  static Date FromParts(const DateParts& p);
  static Date FromYmd(int year, int month, int day) { return FromParts({year, month, day}); }
  // The local time now, in whole seconds (as dates are stored).
  static Date Now();
  // The local time now to the millisecond, for waits shorter than a second.
  static Date NowExact();
  // "YYYY-MM-DD HH:MM:SS" or "YYYY-MM-DD"; anything else gives an invalid date,
  // an empty text a null one.
  static Date FromIsoText(std::string_view text);

  Status status() const { return status_; }
  bool IsValid() const { return status_ == Status::Valid; }
  bool IsNull() const { return status_ == Status::Null; }
  double days() const { return days_; }
  // Parts of a valid date, rounded to the nearest second.
  DateParts Parts() const;
  int Year() const { return Parts().year; }
  // The date part alone (time of day cut off).
  Date DateOnly() const;
  Date AddDays(double n) const;
  // "YYYY-MM-DD HH:MM:SS"; empty for a null or invalid date.
  std::string ToIsoText() const;

  bool operator==(const Date& o) const {
    return status_ == o.status_ && (status_ != Status::Valid || days_ == o.days_);
  }

 private:
  double days_ = 0;
  Status status_ = Status::Null;
};

// True for a Gregorian date that exists.
bool IsCalendarDate(int year, int month, int day);

}  // namespace qv
