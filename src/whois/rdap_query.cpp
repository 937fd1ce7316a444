#include "whois/rdap_query.h"

#include <QDateTime>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QStringList>
#include <QTimeZone>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>

#include "whois/rdap_answer.h"
#include "whois/whois_query.h"

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;

struct Response {
  int status = 0;
  QByteArray body;
  QUrl location;  // for a redirect
  QByteArray retryAfter;
  std::string error;  // set when no usable response came
};

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QNetworkRequest MakeRequest(const QUrl& url, int timeoutMs) {
  QNetworkRequest request(url);
  request.setRawHeader("Accept", kRdapMediaType);
  request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Quorvel"));
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
  if (timeoutMs > 0) request.setTransferTimeout(timeoutMs);
  return request;
}

// One GET, waited for on a local event loop; no longer than `leftMs`.
Response Fetch(QNetworkAccessManager& manager, const QUrl& url, int timeoutMs, int leftMs) {
  Response r;
  std::unique_ptr<QNetworkReply> reply(manager.get(MakeRequest(url, timeoutMs)));
  QStringList sslProblems;
  bool tooLarge = false;
  bool deadline = false;
  QEventLoop loop;
  QObject::connect(reply.get(), &QNetworkReply::sslErrors, [&](const QList<QSslError>& errors) {
    for (const QSslError& e : errors) sslProblems << e.errorString();
  });
  const auto checkSize = [&] {
    const qint64 announced =
        reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced > qint64(kRdapMaxAnswerBytes) ||
        r.body.size() + reply->bytesAvailable() > qint64(kRdapMaxAnswerBytes)) {
      tooLarge = true;
      reply->abort();
      return;
    }
    r.body += reply->readAll();
  };
  QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, checkSize);
  QObject::connect(reply.get(), &QNetworkReply::readyRead, checkSize);
  QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    deadline = true;
    reply->abort();
  });
  timer.start(std::max(leftMs, 1));
  if (!reply->isFinished()) loop.exec();
  if (!tooLarge && reply->error() == QNetworkReply::NoError) checkSize();

  r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  r.retryAfter = reply->rawHeader("Retry-After");
  if (IsRedirect(r.status)) r.location = url.resolved(QUrl(QString::fromUtf8(reply->rawHeader("Location"))));
  if (tooLarge) {
    r.error = "The RDAP answer is larger than 1 MiB.";
  } else if (deadline) {
    r.error = "The RDAP service did not answer in time.";
  } else if (!sslProblems.isEmpty()) {
    r.error = "The RDAP service's certificate was refused: " + sslProblems.join(QLatin1String("; ")).toStdString();
  } else if (reply->error() == QNetworkReply::OperationCanceledError ||
             reply->error() == QNetworkReply::TimeoutError) {
    // The transfer time-out cancels the reply.
    r.error = "The RDAP service did not answer in time.";
  } else if (r.status == 0 && reply->error() != QNetworkReply::NoError) {
    r.error = "The RDAP query failed: " + reply->errorString().toStdString();
  }
  return r;
}

std::string StatusText(int status) {
  return "The RDAP service answered HTTP " + std::to_string(status) + ".";
}

void Classify(const Response& r, RdapResult& result) {
  result.httpStatus = r.status;
  if (r.status == 404) {
    result.outcome = RdapOutcome::NotFound;
    const RdapReading reading = ReadRdapAnswer(std::string_view(r.body.constData(), std::size_t(r.body.size())));
    const bool jsonNotFound = reading.error.empty() && !reading.answer.registered;
    result.body = jsonNotFound ? r.body.toStdString() : std::string(kRdapNotFoundBody);
    return;
  }
  if (r.status == 429 || r.status == 503) {
    result.retryAfterSeconds =
        RetryAfterSeconds(r.retryAfter.toStdString(), QDateTime::currentSecsSinceEpoch());
    result.error = StatusText(r.status) + " The service is busy";
    result.error += result.retryAfterSeconds >= 0
                        ? "; it asks to wait " + std::to_string(result.retryAfterSeconds) + " seconds."
                        : ".";
    return;
  }
  if (r.status != 200) {
    result.error = StatusText(r.status);
    return;
  }
  const std::string body = r.body.toStdString();
  const RdapReading reading = ReadRdapAnswer(body);
  if (!reading.error.empty()) {
    result.error = reading.error;
  } else if (!reading.answer.registered) {
    result.outcome = RdapOutcome::NotFound;
    result.body = body;
  } else {
    result.outcome = RdapOutcome::Answer;
    result.body = body;
  }
}

}  // namespace

int RetryAfterSeconds(std::string_view value, long long nowUtcSeconds) {
  const QString text = QString::fromLatin1(value.data(), qsizetype(value.size())).trimmed();
  bool ok = false;
  const long long seconds = text.toLongLong(&ok);
  if (ok) return seconds < 0 ? -1 : int(std::min<long long>(seconds, INT_MAX));
  // An HTTP date: "Sun, 06 Nov 1994 08:49:37 GMT".
  QDateTime at = QDateTime::fromString(text, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"));
  at.setTimeZone(QTimeZone::utc());
  if (!at.isValid()) return -1;
  return int(std::clamp<long long>(at.toSecsSinceEpoch() - nowUtcSeconds, 0, INT_MAX));
}

RdapResult RdapQuery(std::string_view url, int timeoutMs) {
  RdapResult result;
  QUrl current(QString::fromUtf8(url.data(), qsizetype(url.size())), QUrl::StrictMode);
  const QString scheme = current.scheme().toLower();
  if (!current.isValid() || current.host().isEmpty() ||
      (scheme != QLatin1String("https") && scheme != QLatin1String("http"))) {
    result.error = "The RDAP URL is not an http(s) URL: " + std::string(url);
    return result;
  }
  QNetworkAccessManager manager;
  const auto end = Clock::now() + std::chrono::milliseconds(WhoisQueryDeadlineMs(timeoutMs));
  for (int hop = 0;; ++hop) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) {
      result.error = "The RDAP service did not answer in time.";
      return result;
    }
    const Response r = Fetch(manager, current, timeoutMs, int(left));
    result.finalUrl = current.toString().toStdString();
    if (!r.error.empty()) {
      result.httpStatus = r.status;
      result.error = r.error;
      return result;
    }
    if (!IsRedirect(r.status)) {
      Classify(r, result);
      return result;
    }
    if (hop >= kRdapMaxRedirects) {
      result.httpStatus = r.status;
      result.error = "The RDAP service redirected more than 5 times.";
      return result;
    }
    const QString next = r.location.scheme().toLower();
    const bool downgrade = current.scheme().toLower() == QLatin1String("https") && next != QLatin1String("https");
    if (!r.location.isValid() || r.location.host().isEmpty() || downgrade ||
        (next != QLatin1String("https") && next != QLatin1String("http"))) {
      result.httpStatus = r.status;
      result.error = "The RDAP service redirected to an unusable address: " +
                     r.location.toString().toStdString();
      return result;
    }
    current = r.location;
  }
}

}  // namespace qv
