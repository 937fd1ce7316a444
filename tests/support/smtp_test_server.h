// SMTP peers on loopback for the mail tests.
//
// ScriptedSmtpServer: a small server of our own for what a real one will not
// do on request: stall after its greeting, refuse a command, send a reply
// line by line in separate writes, drop the connection in the middle of
// DATA. It serves one connection at a time and records every command line
// and every message (as received, dot-stuffing included).
//
// Aiosmtpd: Debian's aiosmtpd run as `python3 -m aiosmtpd` with a handler
// (smtp_recorder.py) that writes each message it accepts to a folder, with
// STARTTLS and AUTH when asked for.
#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback_listener.h"

namespace qvtest {

class ScriptedSmtpServer {
 public:
  struct Script {
    std::string greeting = "220 scripted ESMTP\r\n";  // empty: no greeting at all
    bool stallAfterGreeting = false;
    // After the greeting, "220-" continuation lines without end, each byte
    // `greetingDripMs` apart (0: as fast as the client reads).
    bool endlessGreeting = false;
    int greetingDripMs = 0;
    // Replies by command verb ("EHLO", "MAIL", "RCPT", "DATA", "QUIT", ...),
    // and "." for the end of DATA. Missing verbs get a plain success.
    std::map<std::string, std::string> replies;
    bool dropInData = false;   // close after the first bytes of the message
    bool linesApart = false;   // each reply line in a write of its own, 50 ms apart
    int refuseMessages = 0;    // this many messages get "451" at their end
  };

  explicit ScriptedSmtpServer(Script script);
  ScriptedSmtpServer(const ScriptedSmtpServer&) = delete;
  ScriptedSmtpServer& operator=(const ScriptedSmtpServer&) = delete;

  int port() const { return listener_.port(); }
  std::vector<std::string> commands() const;
  std::vector<std::string> messages() const;
  void Finish();

 private:
  void Serve(int fd);
  void Reply(int fd, const std::string& text);
  void GreetWithoutEnd(int fd);
  std::string ReplyTo(const std::string& verb) const;

  Script script_;
  mutable std::mutex mutex_;
  std::vector<std::string> commands_;
  std::vector<std::string> messages_;
  int refused_ = 0;
  LoopbackListener listener_{[this](int fd) { Serve(fd); }};
};

class Aiosmtpd {
 public:
  // Plain SMTP; with `startTls` a self-signed certificate for 127.0.0.1 is
  // made and STARTTLS offered (and required); with a user, AUTH PLAIN and
  // LOGIN accept only that user and password.
  struct Options {
    bool startTls = false;
    QString user, password;
  };
  explicit Aiosmtpd(const Options& options);
  ~Aiosmtpd();

  bool running() const { return running_; }
  int port() const { return port_; }
  // The certificate the server shows (empty without TLS).
  QString certificateFile() const { return cert_; }
  // The messages received so far, oldest first: "from", "to" (array),
  // "login" and "content" (the message as the server stored it).
  std::vector<QJsonObject> messages() const;
  // Waits until `count` messages are there or `timeoutMs` passed.
  bool WaitForMessages(int count, int timeoutMs) const;

 private:
  QProcess process_;
  QString folder_, cert_;
  int port_ = 0;
  bool running_ = false;
};

}  // namespace qvtest
