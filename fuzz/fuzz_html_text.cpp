// A web server's answer as the home page check reads it: the status line
// and headers up to the first blank line, then the page. The page goes
// through HTML to text and the title reading; the fields are computed for a
// fetch that succeeded and for one that failed with only the header text.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "platform/text.h"
#include "webcheck/fetch_job.h"
#include "webcheck/home_page_check.h"

namespace {

// At most `limit` characters (UTF-8 ones when the text is UTF-8).
bool Within(const std::string& text, std::size_t limit) {
  if (!qv::IsValidUtf8(text)) return text.size() <= limit;
  std::size_t characters = 0;
  for (char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return characters <= limit;
}

void CheckFields(const qv::HomePageFields& f, std::string_view page, std::string_view headers) {
  if (f.bytes != std::int64_t(page.size()) || f.size != std::to_string(page.size()) + " bytes") std::abort();
  if (!Within(f.status, qv::kHomePageStatusMax) || !Within(f.redirectUrl, qv::kRedirectUrlMax)) std::abort();
  if (!Within(f.title, qv::kHomePageTitleMax + 3)) std::abort();
  // Cutting a text to its field never splits a character.
  if (qv::IsValidUtf8(headers) && !qv::IsValidUtf8(f.status)) std::abort();
  if (qv::IsValidUtf8(page) && !qv::IsValidUtf8(f.title)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = qvfuzz::AsText(data, size);
  const std::size_t blank = input.find("\r\n\r\n");
  const std::string_view headers = blank == std::string_view::npos ? std::string_view("HTTP/1.1 200 OK\r\n")
                                                                   : input.substr(0, blank + 2);
  const std::string_view page = blank == std::string_view::npos ? input : input.substr(blank + 4);

  // Markup and entities only ever shrink the text.
  if (qv::HtmlToText(page).size() > page.size()) std::abort();
  const std::string title = qv::PageTitle(page);
  const qv::HomePageFields ok = qv::ComputeHomePageFields(page, headers, qv::Date(), qv::Date());
  if (ok.title != title) std::abort();
  CheckFields(ok, page, headers);
  CheckFields(qv::ComputeHomePageFields({}, headers, qv::Date(), qv::Date()), {}, headers);
  return 0;
}
