#include "whois/dac_codes.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "platform/date.h"
#include "whois/normalise.h"
#include "whois/whois_date.h"

namespace qv {
namespace {

struct DacCode {
  char code;
  std::string_view meaning;
};

// In the order the program has always applied them.
constexpr std::array<DacCode, 12> kDacCodes = {{
    {'Y', "Yes"},
    {'N', "No"},
    {'E', "External Domain"},
    {'R', "Prohibited Domain"},
    {'I', "Illegal Domain"},
    {'B', "Blocked Query"},
    {'0', "No Dates Available"},
    {'1', "Registration request being processed"},
    {'2', "Registered until expiry date"},
    {'3', "Renewal request being processed"},
    {'4', "Renewal required"},
    {'5', "Renewal invoice being processed"},
}};

constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

std::string_view MeaningOf(char code) {
  for (const DacCode& c : kDacCodes)
    if (c.code == code) return c.meaning;
  return {};
}

std::vector<std::string_view> SplitAtCommas(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  for (;;) {
    const auto comma = line.find(',', pos);
    if (comma == std::string_view::npos) {
      fields.push_back(line.substr(pos));
      return fields;
    }
    fields.push_back(line.substr(pos, comma - pos));
    pos = comma + 1;
  }
}

}  // namespace

std::string DacDateText(std::string_view field) {
  std::string order = kMonthFirst;
  Date date;
  if (!ParseWhoisDate(field, order, date)) return std::string(field);
  const DateParts p = date.Parts();
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d-", p.day);
  return buf + std::string(kMonthNames[std::size_t(p.month - 1)]) + "-" + std::to_string(p.year);
}

void SpellOutDacCodes(std::string& text) {
  // Every code sits in ": X\r\n"; two such spots never overlap, and no
  // meaning contains one, so one pass gives what the replacements made one
  // after another would.
  std::string out;
  out.reserve(text.size() + 64);
  std::size_t pos = 0;
  for (;;) {
    const auto colon = text.find(": ", pos);
    if (colon == std::string::npos) break;
    const std::size_t code = colon + 2;
    std::string_view meaning;
    if (code + 2 < text.size() && text[code + 1] == '\r' && text[code + 2] == '\n')
      meaning = MeaningOf(text[code]);
    if (meaning.empty()) {
      out.append(text, pos, code - pos);
      pos = code;
      continue;
    }
    out.append(text, pos, code - pos).append(meaning).append("\r\n");
    pos = code + 3;
  }
  out.append(text, pos, std::string::npos);
  text = std::move(out);
}

std::optional<std::string> ExpandedDacText(std::string_view text) {
  const auto start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  text.remove_prefix(start);
  const auto lineEnd = text.find_first_of("\r\n");
  if (lineEnd == std::string_view::npos) return std::nullopt;
  std::string_view line = text.substr(0, lineEnd);
  const auto last = line.find_last_not_of(' ');
  if (last == std::string_view::npos) return std::nullopt;
  line = line.substr(0, last + 1);

  const auto commas = std::count(line.begin(), line.end(), ',');
  if (commas != 1 && commas != 6) return std::nullopt;
  const std::vector<std::string_view> f = SplitAtCommas(line);
  const std::string source = WhoisSourceOf(text);
  std::string out;
  if (f.size() == 2) {
    out.append("No match for ").append(f[0]);
  } else if (f.size() == 7) {
    out.append("Domain Name: ").append(f[0]);
    out.append("\r\nRegistered: ").append(f[1]);
    out.append("\r\nDetagged: ").append(f[2]);
    out.append("\r\nSuspended: ").append(f[3]);
    out.append("\r\nRegistered on: ").append(DacDateText(f[4]));
    out.append("\r\nRenewal date: ").append(DacDateText(f[5]));
    out.append("\r\nRegistration status: ").append(f[6]);
  } else {
    return std::nullopt;
  }
  out.append("\r\n\r\n").append(kWhoisSourceTag).append(source).append("]");
  if (f.size() == 7) SpellOutDacCodes(out);
  return out;
}

}  // namespace qv
