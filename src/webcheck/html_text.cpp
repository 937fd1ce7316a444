// HTML to text for the web checks: markup removed, a few entities decoded.
#include <string>
#include <string_view>

#include "webcheck/fetch_job.h"

namespace qv {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (std::size_t found; (found = text.find(from, at)) != std::string::npos; at = found + from.size()) {
    out.append(text, at, found - at);
    out.append(to);
  }
  out.append(text, at, std::string::npos);
  text.swap(out);
}

}  // namespace

std::string DefaultRequestHeaders() {
  return std::string("Accept: */*\r\nUser-Agent: ") + kBrowserString + "\r\n";
}

std::string HtmlToText(std::string_view html) {
  std::string text;
  text.reserve(html.size());
  int depth = 0;
  for (char c : html) {
    if (c == '<') {
      ++depth;
    } else if (c == '>' && depth > 0) {
      --depth;
    } else if (depth == 0) {
      text += c;
    }
  }
  // "&amp;" goes last: what it stands for is an ampersand, never the start
  // of another entity.
  static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
      {"&nbsp;", " "},  {"&gt;", ">"},     {"&lt;", "<"},        {"&#39;", "'"},
      {"&quot;", "\""}, {"\xC2", ""},      {"&#149;", " "},      {"&#169;", "\xA9"},
      {"&raquo;", " "}, {"&amp;", "&"},
  };
  for (const auto& [from, to] : kEntities) ReplaceAll(text, from, to);
  return text;
}

}  // namespace qv
