// The worker of an HTTP fetch job: Qt Network on the worker's own thread,
// with redirects handled here so that the rules on where a redirect may lead
// and how many are followed are the program's own.
#include <QAuthenticator>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "platform/ascii.h"
#include "webcheck/fetch_job_list.h"

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;

std::string WithNumber(const char* format, int n) {
  char text[64];
  std::snprintf(text, sizeof text, format, n);
  return text;
}

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// "Name: value" lines of the job's request headers.
void AddRequestHeaders(QNetworkRequest& request, const std::string& headers) {
  std::size_t at = 0;
  while (at < headers.size()) {
    std::size_t end = headers.find('\n', at);
    if (end == std::string::npos) end = headers.size();
    std::string line = headers.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) continue;
    const QByteArray name = QByteArray::fromStdString(line.substr(0, colon)).trimmed();
    const QByteArray value = QByteArray::fromStdString(line.substr(colon + 1)).trimmed();
    if (!request.hasRawHeader(name)) request.setRawHeader(name, value);
  }
}

// The status line and headers as the server sent them, CR LF separated and
// ended by an empty line.
std::string RawHeaders(const QNetworkReply& reply, int status) {
  const bool http2 = reply.attribute(QNetworkRequest::Http2WasUsedAttribute).toBool();
  const QByteArray reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
  std::string text = http2 ? "HTTP/2 " : "HTTP/1.1 ";
  text += std::to_string(status);
  if (!reason.isEmpty()) text += " " + reason.toStdString();
  text += "\r\n";
  for (const QNetworkReply::RawHeaderPair& pair : reply.rawHeaderPairs())
    text += pair.first.toStdString() + ": " + pair.second.toStdString() + "\r\n";
  text += "\r\n";
  return text;
}

// The Last-Modified of an answer: null when there is none, invalid when it
// cannot be read. Kept as the server's (UTC) time.
Date LastModifiedOf(const QNetworkReply& reply) {
  if (!reply.hasRawHeader("Last-Modified")) return Date::Null();
  const QDateTime when = reply.header(QNetworkRequest::LastModifiedHeader).toDateTime();
  if (!when.isValid()) return Date::Invalid();
  const QDateTime utc = when.toUTC();
  const QDate d = utc.date();
  const QTime t = utc.time();
  return Date::FromParts({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()});
}

std::string ErrorTextOf(const QNetworkReply& reply) {
  std::string text = reply.errorString().toStdString();
  if (text.size() > kMaxErrorTextLength) text.resize(kMaxErrorTextLength);
  return text;
}

// One fetch, turn by turn.
class Fetch {
 public:
  explicit Fetch(HttpFetchJob& job)
      : job_(job), list_(FetchJobList::Instance()),
        deadline_(Clock::now() + std::chrono::milliseconds(std::max(job.timeoutMs, 1))) {
    nam_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    if (!job_.login.empty()) {
      const auto fill = [this](QAuthenticator* auth) {
        if (authTries_++ > 0) return;  // the same login twice is refused once more
        auth->setUser(QString::fromStdString(job_.login));
        auth->setPassword(QString::fromStdString(job_.password));
      };
      QObject::connect(&nam_, &QNetworkAccessManager::proxyAuthenticationRequired,
                       [fill](const QNetworkProxy&, QAuthenticator* a) { fill(a); });
      QObject::connect(&nam_, &QNetworkAccessManager::authenticationRequired,
                       [fill](QNetworkReply*, QAuthenticator* a) { fill(a); });
    }
  }

  void Run() {
    QUrl url = QUrl(QString::fromStdString(job_.url), QUrl::StrictMode);
    bool post = !job_.postData.empty();
    for (int hop = 0;; ++hop) {
      if (!url.isValid() || url.host().isEmpty()) return Fail(kErrorParsingUrlText);
      const QString scheme = url.scheme().toLower();
      if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return Fail(kNotHttpRequestText);
      job_.url = url.toString().toStdString();
      const Turn turn = Exchange(url, post);
      if (turn.done) return;
      // A redirect to follow.
      if (hop + 1 >= kMaxRedirects) return Fail(kTooManyRedirectsText);
      if (!turn.keepMethod) post = false;
      url = turn.next;
    }
  }

 private:
  struct Turn {
    bool done = true;
    QUrl next;
    bool keepMethod = false;
  };

  void Fail(const std::string& text) { job_.errorText = text; }

  int RemainingMs() const {
    using namespace std::chrono;
    return int(std::max<long long>(0, duration_cast<milliseconds>(deadline_ - Clock::now()).count()));
  }

  Turn Exchange(const QUrl& url, bool post) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    AddRequestHeaders(request, job_.requestHeaders);
    list_.NotifyStatus(job_, "Looking up server");
    QNetworkReply* reply;
    if (post) {
      request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
      reply = nam_.post(request, QByteArray::fromStdString(job_.postData));
    } else {
      reply = nam_.get(request);
    }
    reply->setReadBufferSize(64 * 1024);
    const Turn turn = Follow(*reply, url);
    reply->deleteLater();
    list_.NotifyStatus(job_, "Closing connection");
    list_.NotifyStatus(job_, "Connection closed");
    return turn;
  }

  Turn Follow(QNetworkReply& reply, const QUrl& url) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timedOut = false;
    bool stopped = false;  // we ended the transfer on purpose
    int status = 0;
    bool headersTaken = false;
    Turn turn;

    // Ends the transfer on purpose; done from the event loop, not inside one
    // of the reply's own signals.
    const auto stop = [&] {
      if (stopped || timedOut) return;
      stopped = true;
      QTimer::singleShot(0, &reply, [&reply] {
        if (!reply.isFinished()) reply.abort();
      });
    };
    const auto takeHeaders = [&] {
      if (headersTaken) return;
      status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
      if (status == 0) return;
      headersTaken = true;
      job_.responseHeaders = RawHeaders(reply, status);
      if (status == 200) {
        job_.lastModified = LastModifiedOf(reply);
        if (!job_.filePath.empty()) job_.contentLength = reply.header(QNetworkRequest::ContentLengthHeader).toLongLong();
      } else {
        stop();  // the body of anything but a page is not read
      }
    };
    const auto readBody = [&] {
      takeHeaders();
      if (status != 200 || stopped) return;
      while (reply.bytesAvailable() > 0) {
        if (job_.cancelled) return stop();
        if (job_.filePath.empty() && received_ >= kMaxMemoryBodyBytes) {
          tooLarge_ = true;
          return stop();
        }
        qint64 want = kFetchBlockBytes;
        if (job_.maxBytes != 0) want = std::min<qint64>(want, qint64(job_.maxBytes) - received_);
        if (job_.filePath.empty()) want = std::min<qint64>(want, kMaxMemoryBodyBytes - received_);
        const QByteArray block = reply.read(want);
        if (block.isEmpty()) break;
        received_ += block.size();
        if (!Keep(block)) return stop();
        list_.NotifyProgress(job_, received_);
        if (job_.maxBytes != 0 && received_ >= qint64(job_.maxBytes)) return stop();
      }
    };
    // The reply outlives this turn until its deferred delete and may still
    // signal (a late read, the abort queued by stop): every handler below
    // uses this turn's locals, so each is tied to `turnScope` and dropped
    // when the turn ends.
    QObject turnScope;
    QObject::connect(&reply, &QNetworkReply::socketStartedConnecting, &turnScope, [this] {
      list_.NotifyStatus(job_, "Server located");
      list_.NotifyStatus(job_, "Connecting to server");
    });
    QObject::connect(&reply, &QNetworkReply::requestSent, &turnScope, [this] {
      list_.NotifyStatus(job_, "Connected to server");
      list_.NotifyStatus(job_, "Sending request to server");
      list_.NotifyStatus(job_, "Request sent to server");
    });
    QObject::connect(&reply, &QNetworkReply::metaDataChanged, &turnScope, takeHeaders);
    QObject::connect(&reply, &QNetworkReply::readyRead, &turnScope, readBody);
    QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
      if (stopped || reply.isFinished()) return;
      timedOut = true;
      reply.abort();
    });
    // Cancellation is also noticed while nothing arrives.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (job_.cancelled && !stopped) stop();
    });
    poll.start(100);
    deadline.start(RemainingMs());
    if (!reply.isFinished()) loop.exec();
    deadline.stop();
    poll.stop();
    if (!stopped && !timedOut) readBody();

    if (timedOut) {
      Fail(kTimedOutText);
      return turn;
    }
    if (!headersTaken) takeHeaders();
    if (!headersTaken) {
      if (!job_.cancelled) Fail(ErrorTextOf(reply));
      return turn;
    }
    if (status == 200) {
      if (!stopped && reply.error() != QNetworkReply::NoError) Fail(ErrorTextOf(reply));
      if (writeError_ != 0) Fail(WithNumber(kDiskWriteErrorFormat, writeError_));
      if (tooLarge_) Fail(kPageTooLargeText);
      list_.NotifyProgress(job_, received_);
      return turn;
    }
    if (status == 401 || status == 407) {
      Fail(kAccessDeniedText);
      return turn;
    }
    if (IsRedirect(status)) return Redirect(reply, url, status);
    Fail(WithNumber(kHttpErrorFormat, status));
    return turn;
  }

  Turn Redirect(const QNetworkReply& reply, const QUrl& url, int status) {
    Turn turn;
    // Header names are matched without regard to case.
    const QByteArray location = reply.rawHeader("Location").trimmed();
    if (location.isEmpty()) {
      Fail(kNoNewLocationText);
      return turn;
    }
    const std::string text = location.toStdString();
    // A relative location is resolved against the URL just fetched.
    const QUrl next = url.resolved(QUrl(QString::fromUtf8(location)));
    if (EqualsNoCase(text, job_.url) || EqualsNoCase(next.toString().toStdString(), job_.url)) {
      Fail(kSameLocationText);
      return turn;
    }
    job_.redirectUrl = text;
    if (job_.stopAtRedirect) {
      Fail(kSiteRedirectsText);
      return turn;
    }
    turn.done = false;
    turn.next = next;
    turn.keepMethod = status == 307 || status == 308;
    job_.responseHeaders.clear();
    return turn;
  }

  // Appends a block to the body or writes it to the file; false when the
  // file cannot be written.
  bool Keep(const QByteArray& block) {
    if (job_.filePath.empty()) {
      job_.body.append(block.constData(), std::size_t(block.size()));
      return true;
    }
    if (!file_.isOpen()) {
      file_.setFileName(QString::fromStdString(job_.filePath));
      if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        writeError_ = errno != 0 ? errno : EIO;
        return false;
      }
    }
    errno = 0;
    if (file_.write(block) != block.size() || !file_.flush()) {
      writeError_ = errno != 0 ? errno : EIO;
      return false;
    }
    job_.bytesWritten += block.size();
    return true;
  }

  HttpFetchJob& job_;
  FetchJobList& list_;
  const Clock::time_point deadline_;
  QNetworkAccessManager nam_;
  QFile file_;
  qint64 received_ = 0;
  int writeError_ = 0;
  bool tooLarge_ = false;
  int authTries_ = 0;
};

}  // namespace

void RunHttpFetch(HttpFetchJob& job) {
  {
    Fetch fetch(job);
    fetch.Run();
  }
  FetchJobList::Instance().NotifyDone(job);
}

}  // namespace qv
