#include "lookup/whois_worker.h"

#include "lookup/invalid_ip_list.h"
#include "platform/ascii.h"
#include "whois/rdap_directory.h"
#include "whois/rdap_query.h"
#include "whois/server_directory.h"
#include "whois/whois_query.h"
#include "whois/whois_server_state.h"

namespace qv {
namespace {

int MinimumLookup(WhoisJob& job, const HostResolver& resolver) {
  const std::string address = resolver ? resolver("www." + job.domain) : std::string();
  const bool resolved = !address.empty() && address != kDnsErrorAddress;
  if (!resolved || InvalidIpList::Load().Contains(address)) return kWhoisNoAnswerCode;
  job.whoisText = ResolvesToAddressText(address) + WhoisSourceFooter(kNoWhoisSource);
  job.address = address;
  return kWhoisTextCode;
}

int RdapLookup(WhoisJob& job) {
  const RdapResult result = RdapQuery(job.rdapUrl, WhoisTimeoutSeconds() * 1000);
  if (result.outcome == RdapOutcome::Failed) {
    job.failure = result.error;
    job.retryAfterSeconds = result.retryAfterSeconds;
    return kWhoisNoAnswerCode;
  }
  job.whoisText = result.body + WhoisSourceFooter(RdapServerKey(job.rdapUrl));
  return kWhoisTextCode;
}

}  // namespace

std::string WhoisSourceFooter(std::string_view source) {
  std::string footer = "\n[Whois Source: ";
  footer += source;
  footer += "]";
  return footer;
}

std::string ResolvesToAddressText(std::string_view address) {
  std::string text = "The domain name resolves to an IP Address (";
  text += address;
  text +=
      ").\n\nIn most cases, this means that the domain is not available.\n\n"
      "To fully check the domain registry  status, disable the\n"
      "'Do Minimum Whois Lookups' option under the Look up Menu.\n\n"
      "Also, please see the 'Edit > Invalid IP Address List' menu.\n";
  return text;
}

int WhoisWorker(WhoisJob& job, const HostResolver& resolver) {
  // The job's name and server belong to the main thread, which reads them
  // while the lookup runs; this thread writes only the text and address.
  if (!job.rdapUrl.empty()) return RdapLookup(job);
  std::string server = job.server;
  if (server.empty()) {
    const TldRecord found = ServerForName(job.domain);  // copied out: the record stores it when dropped
    server = found.server;
  }
  if (EqualsNoCase(server, kMinimumLookupServer)) return MinimumLookup(job, resolver);
  if (server.empty()) {
    job.whoisText = kUnknownWhoisServerText;
    return kWhoisTextCode;
  }
  const int timeoutMs = WhoisTimeoutSeconds() * 1000;
  const WhoisServerRecord record(server, true);
  std::string answer;
  if (!WhoisQuery(job.domain, server, record.queryPrefix, answer, record.port, timeoutMs))
    return kWhoisNoAnswerCode;
  job.whoisText = answer + WhoisSourceFooter(server);
  return kWhoisTextCode;
}

}  // namespace qv
