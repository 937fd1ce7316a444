// `quorvel fetch [--timeout S] [--stop-at-redirect] URL`: runs one fetch job
// the way the web checks run theirs and prints what a home page check would
// make of it: the status line, where it redirects, the last-modified date,
// the size and the title, and the error text when the fetch failed.
// Exit status 0 when the fetch succeeded, 1 when it ended with an error text.
#include <QCoreApplication>
#include <QEventLoop>
#include <cstdio>
#include <string>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "platform/text.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck/home_page_check.h"

namespace qv::cli {
namespace {

constexpr int kFetchCommandMessage = 1024;

int FetchUsage(const char* message) {
  std::fprintf(stderr,
               "quorvel fetch: %s\n"
               "usage: quorvel fetch [--timeout SECONDS] [--stop-at-redirect] URL\n",
               message);
  return kUsageError;
}

struct FetchOptions {
  std::string url;
  int timeoutMs = kWebCheckTimeoutMs;
  bool stopAtRedirect = false;
};

const char* ParseArguments(const QStringList& args, FetchOptions& o) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--stop-at-redirect")) {
      o.stopAtRedirect = true;
    } else if (arg == QLatin1String("--timeout")) {
      bool ok = false;
      const double seconds = i + 1 < args.size() ? args[++i].toDouble(&ok) : 0;
      if (!ok || seconds <= 0 || seconds > 86400) return "--timeout needs a number of seconds";
      o.timeoutMs = int(seconds * 1000);
    } else if (arg.startsWith(QLatin1String("--"))) {
      return "unknown option";
    } else if (o.url.empty()) {
      o.url = ToStdString(arg);
    } else {
      return "only one URL can be fetched";
    }
  }
  return o.url.empty() ? "a URL is needed" : nullptr;
}

void PrintResult(const HttpFetchJob& job) {
  const std::string_view page = job.Failed() ? std::string_view() : std::string_view(job.body);
  const std::string_view headers = job.responseHeaders.empty() && job.Failed()
                                       ? std::string_view(job.errorText)
                                       : std::string_view(job.responseHeaders);
  const HomePageFields f = ComputeHomePageFields(page, headers, job.lastModified, Date::Now());
  std::printf("Status: %s\n", f.status.c_str());
  if (!job.redirectUrl.empty()) std::printf("Redirect: %s\n", job.redirectUrl.c_str());
  if (job.lastModified.IsValid())
    std::printf("Last modified: %s\n", job.lastModified.ToIsoText().c_str());
  else if (job.lastModified.status() == Date::Status::Invalid)
    std::printf("Last modified: (unreadable)\n");
  std::printf("Size: %s\n", f.size.c_str());
  if (!f.title.empty()) std::printf("Title: %s\n", f.title.c_str());
  if (job.Failed()) std::printf("Error: %s\n", job.errorText.c_str());
  std::printf("Time: %lld ms\n", static_cast<long long>(job.endTick - job.startTick));
}

}  // namespace

int RunFetchCommand(const QStringList& args) {
  FetchOptions options;
  if (const char* error = ParseArguments(args, options)) return FetchUsage(error);
  FetchJobList& list = FetchJobList::Instance();
  auto made = std::make_unique<HttpFetchJob>();
  made->tag = "fetch";
  made->message = kFetchCommandMessage;
  made->stopAtRedirect = options.stopAtRedirect;
  made->maxBytes = kHomePageMaxBytes;
  QEventLoop loop;
  int code = kFetchFailed;
  QObject::connect(&list, &FetchJobList::done, &loop, [&loop, &code](quint64, int, int result) {
    code = result;
    loop.quit();
  });
  HttpFetchJob* job = list.Start(std::move(made), options.url, options.timeoutMs);
  if (!job) {
    std::fprintf(stderr, "quorvel fetch: no worker thread could be started\n");
    return 1;
  }
  const std::uint64_t id = job->id;
  loop.exec();
  PrintResult(*job);
  std::fflush(stdout);
  list.Release(id);
  return code == kFetchSucceeded ? 0 : 1;
}

}  // namespace qv::cli
