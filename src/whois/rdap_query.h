// One RDAP query: an HTTPS GET of the name's URL at an RDAP service.
//
// Runs on the calling thread (a lookup worker, or the command line) with a
// QNetworkAccessManager and an event loop of its own, and blocks until the
// answer is in or the query failed. Redirects are followed by hand (at most
// kRdapMaxRedirects, never from https to plain http); answers larger than
// kRdapMaxAnswerBytes are refused; a certificate that does not verify is
// refused with the reason.
#pragma once

#include <string>
#include <string_view>

namespace qv {

inline constexpr int kRdapMaxRedirects = 5;
// The media type asked for and the body kept for a 404 that sent no JSON.
inline constexpr const char* kRdapMediaType = "application/rdap+json";
inline constexpr const char* kRdapNotFoundBody = "{\"errorCode\":404,\"title\":\"Not Found\"}";

enum class RdapOutcome {
  Answer,    // a domain object: `body` holds it as received
  NotFound,  // HTTP 404: the name is not registered; `body` is an RDAP error object
  Failed,    // anything else; `error` says why
};

struct RdapResult {
  RdapOutcome outcome = RdapOutcome::Failed;
  std::string body;
  std::string finalUrl;  // the URL that answered, after redirects
  std::string error;
  int httpStatus = 0;          // of the last response; 0 when none came
  int retryAfterSeconds = -1;  // from Retry-After on 429 / 503; -1 when none
};

// Queries `url` (see RdapQueryUrl). `timeoutMs` bounds each wait for data;
// the whole query, redirects included, ends after WhoisQueryDeadlineMs of it.
RdapResult RdapQuery(std::string_view url, int timeoutMs);

// Seconds to wait from a Retry-After value: whole seconds or an HTTP date
// (from `nowUtcSeconds`, seconds since the epoch); -1 when it is neither.
int RetryAfterSeconds(std::string_view value, long long nowUtcSeconds);

}  // namespace qv
