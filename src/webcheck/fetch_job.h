// The HTTP fetch job: one fetch of one URL, filled by the caller, carried out
// on a worker thread of its own (http_fetcher.cpp) and read back by the
// caller when the completion arrives.
//
// The job belongs to the worker from Start until it sets `ended`; the
// worker never deletes it. The fetch job list (fetch_job_list.h) owns every
// started job and deletes it once its worker has ended.
#pragma once

#include <QByteArray>
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/date.h"

namespace qv {

// The error texts a fetch ends with (besides the network's own messages).
inline constexpr const char* kErrorParsingUrlText = "Error Parsing URL";
inline constexpr const char* kNotHttpRequestText = "Not an http request";
inline constexpr const char* kAccessDeniedText = "Access Denied";
inline constexpr const char* kNoNewLocationText = "Site redirects with no new location";
inline constexpr const char* kSameLocationText = "Site redirects to same location";
inline constexpr const char* kSiteRedirectsText = "Site Redirects";
inline constexpr const char* kTooManyRedirectsText = "Too many redirects";
inline constexpr const char* kHttpErrorFormat = "Error: %d";
inline constexpr const char* kDiskWriteErrorFormat = "Disk Write Error: %d";
inline constexpr const char* kTimedOutText = "The operation timed out";
inline constexpr const char* kPageTooLargeText = "The page is larger than 16 MiB";

// The browser string sent as the User-Agent.
inline constexpr const char* kBrowserString = "Mozilla/4.0 (compatible; MSIE 6.0; Windows 98; Win 9x 4.90)";
// Redirects followed in one fetch before it gives up.
inline constexpr int kMaxRedirects = 10;
// The usual time-out of a web check.
inline constexpr int kWebCheckTimeoutMs = 180000;
// Bytes read per block of body data.
inline constexpr int kFetchBlockBytes = 2048;
// A body kept in memory never grows beyond this, whatever `maxBytes` says: a
// page still coming at this size ends the fetch with kPageTooLargeText.
inline constexpr std::int64_t kMaxMemoryBodyBytes = 16 * 1024 * 1024;
// The longest text kept of a network error message.
inline constexpr std::size_t kMaxErrorTextLength = 1023;

// What the completion carries (0 success, 1 an error text) and the code of a
// progress notification.
inline constexpr int kFetchSucceeded = 0;
inline constexpr int kFetchFailed = 1;
inline constexpr int kFetchProgress = 3;

std::string DefaultRequestHeaders();

struct HttpFetchJob {
  // Set by the caller before Start.
  std::string tag;             // the caller's key, "name:HTTP"
  std::uint32_t maxBytes = 0;  // stop reading after this many body bytes; 0: no limit
  std::string login;           // proxy user name, used only when given
  std::string password;
  std::string requestHeaders = DefaultRequestHeaders();
  std::string postData;        // non-empty: POST
  std::string url;             // replaced by each followed redirect
  int timeoutMs = 0;           // total time for the whole exchange
  int message = 0;             // the notification number (the kind of check)
  bool stopAtRedirect = false;
  std::string filePath;        // set: the body goes to this file

  // Filled by the worker.
  std::string errorText;
  std::string redirectUrl;     // the last Location seen, as the server wrote it
  std::int64_t startTick = 0;  // milliseconds of the steady clock
  std::int64_t endTick = 0;
  std::int64_t contentLength = 0;  // file mode only
  std::int64_t bytesWritten = 0;   // file mode only
  Date lastModified;           // null when the answer had none; invalid when unreadable
  std::string responseHeaders; // status line and headers, CR LF separated
  std::string body;            // memory mode

  // Shared between the worker and the main thread.
  std::atomic<bool> reportProgress{true};
  std::atomic<bool> cancelled{false};
  std::atomic<bool> started{false};
  std::atomic<bool> ended{false};
  // The job's number in the fetch job list; notifications carry it.
  std::uint64_t id = 0;

  bool Failed() const { return !errorText.empty(); }
};

// Removes markup (nested brackets skipped as a whole) and decodes the
// entities the web checks meet; "&amp;" is decoded last, so "&amp;lt;"
// stays "&lt;".
std::string HtmlToText(std::string_view html);

}  // namespace qv
