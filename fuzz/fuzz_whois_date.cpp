// The whois date parser with each day/month order it can start from: none
// yet, day first and month first.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "whois/whois_date.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = qvfuzz::AsText(data, size);
  for (const char* start : {"", qv::kDayFirst, qv::kMonthFirst}) {
    std::string order = start;
    qv::Date date;
    const bool ok = qv::ParseWhoisDate(text, order, date);
    // Success gives a real date, failure a null one; the order stays one of
    // the three, and a known order is never forgotten.
    if (ok != date.IsValid() || (!ok && !date.IsNull())) std::abort();
    if (order != "" && order != qv::kDayFirst && order != qv::kMonthFirst) std::abort();
    if (*start && order.empty()) std::abort();
    if (ok) (void)qv::DateText(date);
  }
  return 0;
}
