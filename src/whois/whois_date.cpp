#include "whois/whois_date.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/text.h"

namespace qv {
namespace {

constexpr std::string_view kSeparators = "/- T,.";
constexpr std::string_view kOuterTrim = " :\t";
constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};

// The oldest and newest four-digit years a whois date may carry. Servers
// before 1970 did not exist; expiry dates run decades ahead, so anything up
// to 2999 is taken as a year.
constexpr int kFirstYear = 1970;
constexpr int kLastYear = 2999;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view s) {
  for (char c : s)
    if (!IsDigit(c)) return false;
  return !s.empty();
}

// Value of a run of at most 9 digits.
int DigitValue(std::string_view s) {
  int n = 0;
  for (char c : s) n = n * 10 + (c - '0');
  return n;
}

std::string_view Trim(std::string_view s, std::string_view set) {
  const auto first = s.find_first_not_of(set);
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(set);
  return s.substr(first, last - first + 1);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// Month number 1..12 for a word naming a month by its first three letters
// (or "oc" for October); 0 when the word names none.
int MonthOfWord(std::string_view word) {
  if (EqualNoCase(word, "oc")) return 10;
  const std::string_view head = word.substr(0, 3);
  for (std::size_t m = 0; m < kMonths.size(); ++m)
    if (EqualNoCase(head, kMonths[m])) return int(m) + 1;
  return 0;
}

// Two-digit years are read with a window that keeps expiry dates right for
// decades: 00..69 are years of this century, 70..99 of the last (no whois
// server answered before 1970).
constexpr int kShortYearPivot = 70;

// A two-digit year after a day and a month.
bool LooksLikeShortYear(int n) { return n >= 1 && n <= 99; }

// 1..69 -> 2000 + n, 70..99 -> 1900 + n, 1900..2999 -> n; otherwise 0. A
// number of 100..1899 is no year at all (adding 1900 to 1890 would give 3790).
int YearFromNumber(int n) {
  if (n >= kShortYearPivot && n <= 99) return 1900 + n;
  if (n >= 1 && n < kShortYearPivot) return 2000 + n;
  if (n >= 1900 && n <= 2999) return n;
  return 0;
}

// What the words of a date text yield: a year, up to three plain numbers and
// a month named in letters.
struct Slots {
  int year = 0;   // Y
  int first = 0;  // A
  int second = 0; // B
  int third = 0;  // C
  int month = 0;  // M
  bool Empty() const { return year == 0 && first == 0 && second == 0 && month == 0; }
};

void TakeNumber(Slots& s, std::string_view word, std::size_t index) {
  const int n = DigitValue(word);
  if (n >= kFirstYear && n <= kLastYear && s.year == 0) {
    s.year = n;
  } else if (n >= 1 && n <= 31) {
    if (s.first == 0)
      s.first = n;
    else if (s.second == 0)
      s.second = n;
  } else if (word == "00") {
    s.year = 2000;
  } else if (s.second == 0 && s.first && s.month && LooksLikeShortYear(n) && s.year == 0) {
    s.second = n;
  } else if (s.third == 0 && s.first && s.second && LooksLikeShortYear(n) && s.year == 0) {
    s.third = n;
  }
  if (s.third == 0 && s.first && s.second && index > 1) s.third = n;
}

// A word of eight digits read as year, month and day.
struct Compact {
  int year = 0, month = 0, day = 0;
};

Compact ReadCompact(std::string_view word) {
  return {DigitValue(word.substr(0, 4)), DigitValue(word.substr(4, 2)),
          DigitValue(word.substr(6, 2))};
}

template <typename F>
void ForEachWord(std::string_view text, F&& f) {
  std::size_t index = 0, pos = 0;
  while (pos < text.size()) {
    const auto end = text.find_first_of(kSeparators, pos);
    const auto word = text.substr(pos, end == std::string_view::npos ? text.npos : end - pos);
    if (!word.empty()) f(word, index++);
    if (end == std::string_view::npos) break;
    pos = end + 1;
  }
}

Slots ReadSlots(std::string_view text) {
  Slots s;
  ForEachWord(text, [&](std::string_view word, std::size_t i) {
    if (word.size() <= 4 && AllDigits(word)) {
      TakeNumber(s, word, i);
    } else if (s.month == 0) {
      s.month = MonthOfWord(word);
    }
  });
  if (!s.Empty()) return s;
  // Nothing found: try the compact form YYYYMMDD. Its month is known for
  // certain, as a month name's is, so the server's day/month order neither
  // reads it nor is taught by it ("changed: ... 20181216 (Changed)").
  ForEachWord(text, [&](std::string_view word, std::size_t) {
    if (word.size() != 8 || !AllDigits(word)) return;
    const Compact c = ReadCompact(word);
    if (c.year >= kFirstYear && c.year <= kLastYear && s.year == 0) s.year = c.year;
    s.month = c.month;
    s.first = c.day;
  });
  return s;
}

struct DayMonth {
  int day = 0, month = 0;
};

DayMonth ReadDayMonth(const Slots& s, std::string& dateOrder) {
  DayMonth r;
  if (s.month) {
    r.month = s.month;
    if (s.first >= 1 && s.first <= 31) r.day = s.first;
    return r;
  }
  const int a = s.first, b = s.second;
  if (a > 12 && b >= 1 && b <= 12) {
    r = {a, b};
    dateOrder = kDayFirst;
  } else if (b > 12 && a >= 1 && a <= 12) {
    r = {b, a};
    dateOrder = kMonthFirst;
  } else if (a >= 1 && b >= 1 && dateOrder.size() == 4) {
    if (dateOrder == kDayFirst) r = {a, b};
    if (dateOrder == kMonthFirst) r = {b, a};
  }
  return r;
}

// The date the slots make, invalid when they make none.
Date DateOfSlots(const Slots& s, std::string& dateOrder) {
  const DayMonth dm = ReadDayMonth(s, dateOrder);
  const int year = s.year ? s.year : YearFromNumber(s.third);
  const bool monthOk = dm.month >= 1 && dm.month <= 12;
  if (monthOk && dm.day >= 1 && dm.day <= 31 && year >= kFirstYear)
    return Date::FromYmd(year, dm.month, dm.day);
  // Day, month name and a two-digit year with nothing after them: the second
  // number is the year. With a third number present the year is the third.
  if (monthOk && s.first >= 1 && s.first <= 31 && s.third == 0 && LooksLikeShortYear(s.second) &&
      year == 0)
    return Date::FromYmd(YearFromNumber(s.second), dm.month, s.first);
  return Date::Invalid();
}

// A date that opens with a four-digit year followed by month and day,
// "2019-04-03", "2023/04/01", "2002.09.19" (each maybe followed by a time) or
// "20221101", always means year-month-day, whatever order the server uses for
// its other dates.
enum class YearFirst { None, OutOfRange, Read };

YearFirst ReadYearFirst(std::string_view text, Compact& out) {
  std::size_t digits = 0;
  while (digits < text.size() && IsDigit(text[digits])) ++digits;
  if (digits == 8) {
    out = ReadCompact(text);
  } else if (digits == 4 && text.size() > 4 && std::string_view("-/.").find(text[4]) != text.npos) {
    const char sep = text[4];
    std::size_t pos = 5, monthEnd = pos;
    while (monthEnd < text.size() && IsDigit(text[monthEnd])) ++monthEnd;
    if (monthEnd == pos || monthEnd - pos > 2 || monthEnd >= text.size() || text[monthEnd] != sep)
      return YearFirst::None;
    std::size_t dayEnd = monthEnd + 1;
    while (dayEnd < text.size() && IsDigit(text[dayEnd])) ++dayEnd;
    if (dayEnd == monthEnd + 1 || dayEnd - monthEnd - 1 > 2) return YearFirst::None;
    out = {DigitValue(text.substr(0, 4)), DigitValue(text.substr(pos, monthEnd - pos)),
           DigitValue(text.substr(monthEnd + 1, dayEnd - monthEnd - 1))};
  } else {
    return YearFirst::None;
  }
  if (out.year < 1000) return YearFirst::None;
  if (out.year < kFirstYear || out.year > kLastYear) return YearFirst::OutOfRange;
  return YearFirst::Read;
}

std::string FromQ(const QString& s) { return ToStdString(s); }

QDate ToQDate(const DateParts& p) { return QDate(p.year, p.month, p.day); }

bool Shown(const Date& date) { return date.IsValid() && date.Year() > 1970; }

}  // namespace

bool ParseWhoisDate(std::string_view text, std::string& dateOrder, Date& date) {
  date = Date::Null();
  text = Trim(Trim(text, kOuterTrim), kSeparators);
  if (text.empty()) return false;

  Date found = DateOfSlots(ReadSlots(text), dateOrder);
  Compact ymd;
  switch (ReadYearFirst(text, ymd)) {
    case YearFirst::OutOfRange:
      return false;
    case YearFirst::Read:
      if (IsCalendarDate(ymd.year, ymd.month, ymd.day))
        found = Date::FromYmd(ymd.year, ymd.month, ymd.day);
      break;
    case YearFirst::None:
      break;
  }
  if (!found.IsValid()) return false;
  date = found;
  return true;
}

std::string DateText(const Date& date) {
  if (!Shown(date)) return "-";
  return FromQ(QLocale::system().toString(ToQDate(date.Parts()), QLocale::ShortFormat));
}

std::string DateTimeText(const Date& date) {
  if (!Shown(date)) return "-";
  const DateParts p = date.Parts();
  const QLocale locale = QLocale::system();
  return FromQ(locale.toString(ToQDate(p), QLocale::ShortFormat) + QLatin1Char(' ') +
               locale.toString(QTime(p.hour, p.minute, p.second), QLocale::ShortFormat));
}

std::string ElapsedText(const Date& date, bool withClock) {
  return ElapsedText(date, withClock, Date::Now());
}

std::string ElapsedText(const Date& date, bool withClock, const Date& now) {
  if (!date.IsValid()) return "-";
  char buf[64];
  if (withClock) {
    const std::string day = DateText(date);
    if (day == "-") return day;
    const DateParts p = date.Parts();
    std::snprintf(buf, sizeof buf, " %02d:%02d", p.hour, p.minute);
    return day + buf;
  }
  if (!now.IsValid()) return "-";
  // Whole seconds first, so an hour is never 59.999 minutes.
  const long long seconds = std::llround((now.days() - date.days()) * 86400.0);
  if (seconds / 86400 > 0)
    std::snprintf(buf, sizeof buf, "%lld d", seconds / 86400);
  else if (seconds / 3600 > 0)
    std::snprintf(buf, sizeof buf, "%lld h", seconds / 3600);
  else
    std::snprintf(buf, sizeof buf, "%lld min", seconds / 60);
  return buf;
}

std::string DateEditorText(int year, int month, int day) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%d", month, day, year);
  return buf;
}

}  // namespace qv
