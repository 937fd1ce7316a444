#include "support/rdap_test_server.h"

#include <QMutex>
#include <QProcess>
#include <QSemaphore>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include "support/whole_files.h"

namespace qvtest {
namespace {

struct CertificatePair {
  QSslCertificate certificate;
  QSslKey key;
};

// A fresh self-signed certificate for 127.0.0.1, made with the openssl tool.
CertificatePair MakeCertificate() {
  static QTemporaryDir dir;
  static int serial = 0;
  const QString stem = dir.filePath(QString::number(++serial));
  QProcess::execute("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                                "-nodes", "-keyout", stem + ".key", "-out", stem + ".crt", "-days", "2", "-subj",
                                "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
  return {QSslCertificate(ReadFileBytes((stem + ".crt").toStdString())),
          QSslKey(ReadFileBytes((stem + ".key").toStdString()), QSsl::Ec)};
}

const CertificatePair& Trusted() {
  static const CertificatePair pair = [] {
    CertificatePair p = MakeCertificate();
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.addCaCertificate(p.certificate);
    QSslConfiguration::setDefaultConfiguration(config);
    return p;
  }();
  return pair;
}

const CertificatePair& Untrusted() {
  static const CertificatePair pair = MakeCertificate();
  return pair;
}

QByteArray ReasonOf(int status) {
  switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 429: return "Too Many Requests";
    case 503: return "Service Unavailable";
    default: return status >= 300 && status < 400 ? "Redirect" : "Status";
  }
}

class Server : public QTcpServer {
 public:
  Server(RdapTestServer::Tls tls, RdapTestServer::Handler handler) : tls_(tls), handler_(std::move(handler)) {}
  // The open connections go while this is still a Server: their
  // "disconnected" handlers use its members.
  ~Server() override { qDeleteAll(findChildren<QSslSocket*>(Qt::FindDirectChildrenOnly)); }

  QMutex mutex;
  QStringList paths;
  int open = 0;
  int maxOpen = 0;

 protected:
  void incomingConnection(qintptr descriptor) override {
    QSslSocket* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
      delete socket;
      return;
    }
    {
      QMutexLocker lock(&mutex);
      maxOpen = std::max(maxOpen, ++open);
    }
    auto* request = new QByteArray;
    connect(socket, &QSslSocket::readyRead, socket, [this, socket, request] {
      *request += socket->readAll();
      if (!request->contains("\r\n\r\n") || request->isEmpty()) return;
      const QByteArray path = request->split(' ').value(1);
      request->clear();
      request->append("-");  // answered; later bytes are ignored
      Answer(socket, path);
    });
    connect(socket, &QSslSocket::disconnected, socket, [this, socket, request] {
      delete request;
      {
        QMutexLocker lock(&mutex);
        --open;
      }
      socket->deleteLater();
    });
    if (tls_ == RdapTestServer::Tls::None) return;
    const CertificatePair& pair = tls_ == RdapTestServer::Tls::Trusted ? Trusted() : Untrusted();
    socket->setLocalCertificate(pair.certificate);
    socket->setPrivateKey(pair.key);
    socket->startServerEncryption();
  }

 private:
  void Answer(QSslSocket* socket, const QByteArray& path) {
    {
      QMutexLocker lock(&mutex);
      paths << QString::fromLatin1(path);
    }
    const HttpReply reply = handler_(path);
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " " + ReasonOf(reply.status) +
                      "\r\nConnection: close\r\nContent-Type: application/rdap+json\r\n";
    if (reply.announceLength) head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    for (const auto& [name, value] : reply.headers) head += name + ": " + value + "\r\n";
    socket->write(head + "\r\n");
    socket->write(reply.body);
    socket->disconnectFromHost();
  }

  RdapTestServer::Tls tls_;
  RdapTestServer::Handler handler_;
};

}  // namespace

struct RdapTestServer::State {
  QThread thread;
  Server* server = nullptr;
  bool tls = false;
  quint16 port = 0;
};

RdapTestServer::RdapTestServer(Tls tls, Handler handler) : state_(std::make_shared<State>()) {
  // Made here, so that the trust is in place before any query starts.
  if (tls == Tls::Trusted) Trusted();
  if (tls == Tls::Untrusted) Untrusted();
  state_->tls = tls != Tls::None;
  state_->server = new Server(tls, std::move(handler));
  state_->server->listen(QHostAddress::LocalHost, 0);
  state_->port = state_->server->serverPort();
  state_->server->moveToThread(&state_->thread);
  QObject::connect(&state_->thread, &QThread::finished, state_->server, &QObject::deleteLater);
  state_->thread.start();
}

RdapTestServer::~RdapTestServer() {
  state_->thread.quit();
  state_->thread.wait();
}

quint16 RdapTestServer::port() const { return state_->port; }

QString RdapTestServer::url(const QString& path) const {
  return (state_->tls ? QStringLiteral("https://127.0.0.1:") : QStringLiteral("http://127.0.0.1:")) +
         QString::number(state_->port) + path;
}

QStringList RdapTestServer::paths() const {
  QMutexLocker lock(&state_->server->mutex);
  return state_->server->paths;
}

int RdapTestServer::maxOpenConnections() const {
  QMutexLocker lock(&state_->server->mutex);
  return state_->server->maxOpen;
}

HttpReply RdapTestServer::Json(const QByteArray& body) { return {200, body, {}, true}; }

HttpReply RdapTestServer::NotFound() {
  return {404, QByteArrayLiteral(R"({"errorCode":404,"title":"Not Found"})"), {}, true};
}

HttpReply RdapTestServer::Redirect(int status, const QByteArray& location) {
  return {status, {}, {{"Location", location}}, true};
}

}  // namespace qvtest
