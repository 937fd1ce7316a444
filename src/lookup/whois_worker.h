// One whois lookup of one domain name, carried out on a thread of its own.
//
// The main thread makes the job (name and server), the worker fills its
// `whoisText` and `address` and hands the job back with a completion code;
// the worker reads the settings and the directory records but never the
// database or a window.
#pragma once

#include <string>
#include <string_view>

#include "lookup/dns_check.h"

namespace qv {

// Worker-to-window messages: the first user message number and the codes it
// carries (the whois worker sends the two whois codes).
inline constexpr int kWorkerMessage = 1024;
inline constexpr int kQuickLookupCode = 101;    // a text chosen in the quick lookup bar
inline constexpr int kWhoisTextCode = 102;      // the job ended with a whois text
inline constexpr int kWhoisNoAnswerCode = 103;  // the job ended without an answer
inline constexpr int kIgnoredCode = 106;
inline constexpr int kPingReplyCode = 111;      // at least one echo reply came
inline constexpr int kPingNoReplyCode = 112;    // no echo reply came
// Messages of the HTTP fetch jobs, by kind of check.
inline constexpr int kTrademarkFetchMessage = 1029;
inline constexpr int kHomePageFetchMessage = 1030;
inline constexpr int kLinkPopularityFetchMessage = 1031;

// The source footer of a minimum lookup's answer.
inline constexpr const char* kNoWhoisSource = "None";

inline constexpr const char* kUnknownRdapServiceText =
    "Whois Lookup Error: I don't know the RDAP service for this domain.\n\n"
    "Please set its RDAP URL in the 'Edit > Data Extraction Setup > Domain Lookup' menu\n"
    "option, or choose another Lookup Protocol in the Lookup Settings.";

inline constexpr const char* kUnknownWhoisServerText =
    "Whois Lookup Error: I don't know the whois server for this domain.\n\n"
    "Please use the 'Edit > Data Extraction Setup > Domain Lookup' menu\n"
    "option to specify a whois server.";

struct WhoisJob {
  std::string domain;
  std::string whoisText;  // the answer plus its source footer, or a message
  std::string server;     // whois server host, or "dns" for a minimum lookup
  std::string address;    // the address a minimum lookup found
  // An RDAP lookup: the query URL (`server` is then the service's key, see
  // RdapServerKey). Empty for a whois lookup.
  std::string rdapUrl;
  // Written by an RDAP lookup that failed: why, and how long a busy service
  // asked to be left alone (-1: it did not say).
  std::string failure;
  int retryAfterSeconds = -1;
  // The document the lookup was started for (the engine's count of document
  // changes); the result is dropped when another document is open by then.
  // Only the main thread reads it.
  unsigned long long document = 0;
};

// "\n[Whois Source: %s]", the footer after every answer.
std::string WhoisSourceFooter(std::string_view source);
// The answer of a minimum lookup whose name resolves to `address`.
std::string ResolvesToAddressText(std::string_view address);

// Runs the lookup of `job` and returns kWhoisTextCode or kWhoisNoAnswerCode:
//  - no server: the directory is asked again (the job keeps its empty server;
//    only `whoisText` and `address` are written here);
//  - the server "dns" (a minimum lookup): the name's www host is resolved
//    with `resolver`; an address that is not in the invalid-address list
//    answers with ResolvesToAddressText; no usable address is no answer;
//  - still no server: kUnknownWhoisServerText as the answer;
//  - else the port-43 query with the server record's prefix and port and the
//    `Whois Timeout`; an answer gets its source footer.
// An RDAP job (`rdapUrl` set) queries that URL instead: a domain object or a
// 404 is the answer (the JSON as received, then the footer naming the
// service's key); any other outcome is no answer, with `failure` and
// `retryAfterSeconds` filled.
// Blocks; runs on the worker thread.
int WhoisWorker(WhoisJob& job, const HostResolver& resolver);

}  // namespace qv
