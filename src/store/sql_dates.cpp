#include "store/sql_dates.h"

#include <cstdio>

namespace qv {
namespace {

// Far enough for any real query and small enough that the date stays
// representable (about 8,000 years).
constexpr long long kMaxDayOffset = 3'000'000;

// Every `from` at or after `start` becomes `to`. The result is built anew
// rather than replaced in place.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to,
                std::size_t start = 0) {
  std::size_t pos = text.find(from, start);
  if (pos == std::string::npos) return;
  std::string out(text, 0, pos);
  std::size_t done = pos;
  for (; pos != std::string::npos; pos = text.find(from, done)) {
    out.append(text, done, pos - done);
    out.append(to);
    done = pos + from.size();
  }
  out.append(text, done, std::string::npos);
  text = std::move(out);
}

long long LeadingNumber(std::string_view digits) {
  long long n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
    if (n > kMaxDayOffset) return kMaxDayOffset;
  }
  return n;
}

}  // namespace

std::string FormatQueryDate(const Date& date) {
  if (!date.IsValid()) return {};
  const DateParts p = date.Parts();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%d", p.month, p.day, p.year);
  return buf;
}

std::string SubstituteDates(std::string_view sql, const Date& now) {
  std::string text(sql);
  if (text.empty()) return text;
  ReplaceAll(text, "\r\n", " ");
  ReplaceAll(text, "\n", " ");
  ReplaceAll(text, "\r", " ");
  ReplaceAll(text, "\t", " ");
  ReplaceAll(text, "[TODAY]", FormatQueryDate(now));

  constexpr std::string_view kOpen = "[TODAY";
  for (std::size_t pos = text.find(kOpen); pos != std::string::npos; pos = text.find(kOpen, pos)) {
    const std::size_t close = text.find(']', pos);
    if (close == std::string::npos) break;  // unfinished placeholder: leave the rest
    const std::string token = text.substr(pos, close - pos + 1);
    const char sign = token[kOpen.size()];
    if (sign != '+' && sign != '-') break;
    const long long n = LeadingNumber(std::string_view(token).substr(kOpen.size() + 1));
    const Date when = now.AddDays(double(sign == '+' ? n : -n));
    // Every later copy of the same token means the same date. The date holds
    // no "[TODAY", so the search goes on after it.
    ReplaceAll(text, token, FormatQueryDate(when), pos);
  }
  return text;
}

std::string SubstituteDates(std::string_view sql) { return SubstituteDates(sql, Date::Now()); }

std::string ExpandQueryText(std::string_view sql, const Date& now) {
  std::string text(sql);
  ReplaceAll(text, "%20", " ");
  return SubstituteDates(text, now);
}

std::string ExpandQueryText(std::string_view sql) { return ExpandQueryText(sql, Date::Now()); }

}  // namespace qv
