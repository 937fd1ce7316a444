// A whole whois answer as the record update reads it: the answer with the
// source footer the lookup worker appends, cleaned with that server's
// fragments, given a verdict and read for every field.
//
// Input: a first line naming a domain, or the host of a server of the
// built-in tables (or the .uk checker), then the answer. The server is that
// host, or the one the directory gives for the name, so the servers' own
// tokens, fragments and date orders take part. A footer inside
// the answer text is broken up: every server the fuzzer made up would
// otherwise get a record stored.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "platform/ascii.h"
#include "whois/builtin_tables.h"
#include "whois/normalise.h"
#include "whois/server_directory.h"
#include "whois/whois_date.h"
#include "whois/whois_fields.h"

namespace {

std::string ServerOf(std::string_view head) {
  if (head.empty()) return {};
  if (qv::EqualsNoCase(head, qv::kDacServer)) return std::string(qv::kDacServer);
  for (const qv::BuiltinServerRow& row : qv::BuiltinServerTable())
    if (qv::EqualsNoCase(head, row.server)) return std::string(row.server);
  return qv::ServerForName(head).server;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qvfuzz::PrivateFolders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text = qvfuzz::AsText(data, size);
  const std::string_view head = qvfuzz::TakeHead(text, 80);
  std::string answer(text);
  for (std::size_t at = answer.find(qv::kWhoisSourceTag); at != std::string::npos;
       at = answer.find(qv::kWhoisSourceTag, at))
    answer[at] = '(';
  const std::string server = ServerOf(head);
  if (!server.empty()) answer += "\n" + std::string(qv::kWhoisSourceTag) + server + "]";

  const qv::WhoisFields fields = qv::ParseWhoisFields(answer);
  // A verdict is always given; the order learned is one of the two or none.
  if (fields.availability.empty()) std::abort();
  if (!fields.dateOrder.empty() && fields.dateOrder != qv::kDayFirst &&
      fields.dateOrder != qv::kMonthFirst && fields.dateOrder != "DDMM" && fields.dateOrder != "MMDD")
    std::abort();
  (void)qv::CleanWhoisText(answer);  // what the answer pane shows
  return 0;
}
