#include "whois/whois_date.h"

namespace qv {

bool ParseWhoisDate(std::string_view, std::string&, Date& date) {
  date = Date::Null();
  return false;
}
std::string DateText(const Date&) { return "-"; }
std::string DateTimeText(const Date&) { return "-"; }
std::string ElapsedText(const Date& date, bool withClock) {
  return ElapsedText(date, withClock, Date::Now());
}
std::string ElapsedText(const Date&, bool, const Date&) { return "-"; }
std::string DateEditorText(int, int, int) { return {}; }

}  // namespace qv
