#include "platform/date.h"

#include <QDateTime>
#include <cmath>
#include <cstdio>

namespace qv {
namespace {

// Days from 1970-01-01 to the civil date (H. Hinnant's algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + (long long)doe - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = (long long)yoe + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yy + (m <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr long long kEpochOffset = -25569;

}  // namespace

bool IsCalendarDate(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1 || year < 1 || year > 9999) return false;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= last;
}

Date Date::Invalid() {
  Date d;
  d.status_ = Status::Invalid;
  return d;
}

Date Date::FromDays(double days) {
  if (!std::isfinite(days)) return Invalid();
  Date d;
  d.days_ = days;
  d.status_ = Status::Valid;
  return d;
}

Date Date::FromParts(const DateParts& p) {
  if (!IsCalendarDate(p.year, p.month, p.day) || p.hour < 0 || p.hour > 23 || p.minute < 0 ||
      p.minute > 59 || p.second < 0 || p.second > 59)
    return Invalid();
  const long long day = DaysFromCivil(p.year, unsigned(p.month), unsigned(p.day)) - kEpochOffset;
  const double time = (p.hour * 3600.0 + p.minute * 60.0 + p.second) / 86400.0;
  return FromDays(double(day) + time);
}

Date Date::Now() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate d = now.date();
  const QTime t = now.time();
  return FromParts({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()});
}

Date Date::NowExact() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate d = now.date();
  const QTime t = now.time();
  const Date second = FromParts({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()});
  return second.IsValid() ? FromDays(second.days() + t.msec() / 86400000.0) : second;
}

DateParts Date::Parts() const {
  DateParts p;
  if (!IsValid()) return p;
  // Round to whole seconds first so 23:59:59.9996 does not come out as 24:00.
  const long long total = std::llround(days_ * 86400.0);
  long long day = total / 86400;
  long long secs = total % 86400;
  if (secs < 0) {
    secs += 86400;
    --day;
  }
  CivilFromDays(day + kEpochOffset, p.year, p.month, p.day);
  p.hour = int(secs / 3600);
  p.minute = int(secs / 60 % 60);
  p.second = int(secs % 60);
  return p;
}

Date Date::DateOnly() const {
  if (!IsValid()) return *this;
  DateParts p = Parts();
  return FromYmd(p.year, p.month, p.day);
}

Date Date::AddDays(double n) const {
  if (!IsValid()) return *this;
  return FromDays(days_ + n);
}

std::string Date::ToIsoText() const {
  if (!IsValid()) return {};
  const DateParts p = Parts();
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                p.minute, p.second);
  return buf;
}

Date Date::FromIsoText(std::string_view text) {
  if (text.empty()) return Null();
  DateParts p;
  char tail = 0;
  const std::string s(text);
  int n = std::sscanf(s.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &p.year, &p.month, &p.day, &p.hour,
                      &p.minute, &p.second, &tail);
  if (n == 6 && s.size() == 19) return FromParts(p);
  n = std::sscanf(s.c_str(), "%4d-%2d-%2d%c", &p.year, &p.month, &p.day, &tail);
  if (n == 3 && s.size() == 10) return FromYmd(p.year, p.month, p.day);
  return Invalid();
}

}  // namespace qv
