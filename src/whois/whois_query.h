// The whois query client: one query over TCP to one whois server, the answer
// collected as text.
//
// WhoisQuery blocks on the calling thread (a lookup worker or the whois tool's
// own thread) and shares nothing between calls; its socket lives only inside
// the call.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Answers a server gives on purpose that the caller stores like any answer.
inline constexpr const char* kWhoisNotReachableText =
    "Whois Lookup Error: Whois server is currently not reachable.\n";
inline constexpr const char* kWhoisRefusedText =
    "Whois Lookup Error: Whois server refused connection.\n";

// The query line with its CR LF and terminator must fit this buffer.
inline constexpr std::size_t kWhoisQueryLineBuffer = 128;
// Bytes asked for by each receive, and the zero-filled buffer they go into.
inline constexpr std::size_t kWhoisReceiveChunk = 2095;
inline constexpr std::size_t kWhoisReceiveBuffer = kWhoisReceiveChunk + 1;
// An answer cut short by an error or time-out still counts when it is longer.
inline constexpr std::size_t kWhoisUsableLength = 2500;
// No answer is read beyond this many bytes; a server still sending then has
// not answered (the query fails).
inline constexpr std::size_t kWhoisMaxAnswerBytes = 1024 * 1024;

// However slowly a server sends, one query ends after its receive time-out
// times this factor, and never later than kWhoisMaxQueryMs after it began.
inline constexpr int kWhoisDeadlineFactor = 3;
inline constexpr int kWhoisMaxQueryMs = 60 * 1000;
// The whole time one query may take with the receive time-out `timeoutMs`
// (0 or less: no receive time-out, only the cap).
int WhoisQueryDeadlineMs(int timeoutMs);

// Setting `Whois Timeout` (section "Settings"): receive time-out in seconds.
inline constexpr const char* kWhoisTimeoutKey = "Whois Timeout";
inline constexpr int kWhoisTimeoutDefault = 18;
// The stored value, kept within 1 .. 2147483 seconds so that the time-out in
// milliseconds is never "wait for ever" and fits an int.
int WhoisTimeoutSeconds();
bool SetWhoisTimeoutSeconds(int seconds);

// The line sent for a name with a server's query prefix, CR LF included:
//  - empty prefix: the name;
//  - a prefix holding "{D}": the trimmed prefix with every "{D}" replaced by
//    the name;
//  - else a prefix holding "{d}": the trimmed prefix with every "{d}" replaced
//    by the name up to its first dot;
//  - else the prefix as it is, one blank and the name.
// Nothing comes back when the name or prefix holds CR, LF or a zero byte (they
// would smuggle further lines to the server) or when the line with its
// terminator does not fit kWhoisQueryLineBuffer bytes.
std::optional<std::string> BuildWhoisQueryLine(std::string_view name, std::string_view prefix);

// True when the text says the server's database is down.
bool IsWhoisDatabaseDown(std::string_view text);

// Sends the query for `name` to `server` (host name or dotted IPv4 address)
// at `port` and collects the answer in `output`. Returns true when `output`
// holds something to treat as the server's answer:
//  - an orderly close: the answer, unless it says the database is down or
//    the server closed without sending anything;
//  - an error or receive time-out while receiving: what came, when longer
//    than 2500 characters;
//  - a name that has no address: kWhoisNotReachableText;
//  - a refused connection: kWhoisRefusedText.
// False otherwise, also when the server was still sending at
// kWhoisMaxAnswerBytes or at the query's deadline (`output` then holds what
// came); `output` is left untouched when `server` is empty, and is empty when
// no connection was made or the query could not be formed.
// timeoutMs bounds the connect and each receive (0 or less: no bound);
// WhoisQueryDeadlineMs(timeoutMs) bounds the whole query.
bool WhoisQuery(std::string_view name, std::string_view server, std::string_view prefix,
                std::string& output, int port, int timeoutMs);

}  // namespace qv
