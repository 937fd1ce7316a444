// A small HTTP(S) server on 127.0.0.1 for RDAP tests. It runs on a thread of
// its own (so a test may block on a query or a program run meanwhile), reads
// one request per connection and answers with what the handler returns for
// the request's path, then closes the connection.
//
//   qvtest::RdapTestServer server(qvtest::RdapTestServer::Tls::Trusted, handler);
//   RdapQuery(server.url("/domain/alpha.com"), 2000);
//
// With Tls::Trusted the server's self-signed certificate is added to the
// process's default TLS configuration; Tls::Untrusted uses a certificate the
// process does not trust; Tls::None speaks plain HTTP.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace qvtest {

struct HttpReply {
  int status = 200;
  QByteArray body;
  QList<QPair<QByteArray, QByteArray>> headers;
  bool announceLength = true;  // false: no Content-Length, the close ends the body
};

class RdapTestServer {
 public:
  enum class Tls { None, Trusted, Untrusted };
  using Handler = std::function<HttpReply(const QByteArray& path)>;

  RdapTestServer(Tls tls, Handler handler);
  ~RdapTestServer();
  RdapTestServer(const RdapTestServer&) = delete;
  RdapTestServer& operator=(const RdapTestServer&) = delete;

  quint16 port() const;
  // "https://127.0.0.1:PORT" (or http) followed by `path`.
  QString url(const QString& path) const;
  std::string stdUrl(const QString& path) const { return url(path).toStdString(); }
  // The paths requested so far, in order.
  QStringList paths() const;
  // The most connections that were open at once.
  int maxOpenConnections() const;

  // An answer of the shared real set served as JSON, a 404 with an RDAP
  // error object, and a redirect.
  static HttpReply Json(const QByteArray& body);
  static HttpReply NotFound();
  static HttpReply Redirect(int status, const QByteArray& location);

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace qvtest
