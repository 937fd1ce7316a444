// A stored RDAP answer (the JSON, then the source footer) as `quorvel parse
// --rdap` reads and prints it, as a lookup turns it into record values, and
// as the raw answer pane shows it indented, which must read the same.
#include <QJsonDocument>
#include <cstdlib>
#include <string>

#include "app/cli/fields_json.h"
#include "fuzz_support.h"
#include "platform/ascii.h"
#include "whois/availability.h"
#include "whois/rdap_answer.h"

namespace {

void CheckAnswer(const qv::RdapAnswer& a) {
  if (a.domain != qv::ToLowerAscii(a.domain) || (!a.domain.empty() && a.domain.back() == '.')) std::abort();
  for (const std::string& host : a.nameServers)
    if (host.empty() || host != qv::ToLowerAscii(host) || host.back() == '.') std::abort();
  for (std::size_t i = 1; i < a.emails.size(); ++i)
    if (!(a.emails[i - 1] < a.emails[i])) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view stored = qvfuzz::AsText(data, size);
  const qv::StoredRdapAnswer split = qv::SplitStoredRdapAnswer(stored);
  const qv::RdapReading reading = qv::ReadRdapAnswer(split.body);
  const qv::WhoisFields fields = qv::ParseStoredRdapAnswer(stored);
  (void)qv::LooksLikeRdapAnswer(split.body);
  if (!reading.error.empty()) {
    if (fields.availability != qv::kVerdictError) std::abort();
    return 0;
  }
  CheckAnswer(reading.answer);
  const QJsonObject printed = qv::cli::RdapAnswerJson(reading.answer, split.source);
  (void)QJsonDocument(printed).toJson(QJsonDocument::Indented);
  // The indented form the answer pane shows is the same answer.
  const std::string pretty = qv::PrettyRdapAnswer(stored);
  const qv::StoredRdapAnswer again = qv::SplitStoredRdapAnswer(pretty);
  const qv::RdapReading reread = qv::ReadRdapAnswer(again.body);
  if (!reread.error.empty() || again.source != split.source) std::abort();
  if (qv::cli::RdapAnswerJson(reread.answer, again.source) != printed) std::abort();
  return 0;
}
