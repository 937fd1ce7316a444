// A small whois server on 127.0.0.1 for tests. It listens on a port the
// system chooses, serves each connection on its own thread in turn according
// to a script, and records the exact bytes of every query line it received.
//
//   qvtest::WhoisTestServer server(qvtest::WhoisTestServer::StallAfter(text));
//   WhoisQuery("example.com", "127.0.0.1", "", out, server.port(), 300);
//   server.Finish();  // stop, then read connections() and queries()
//
// Every wait inside is bounded; the destructor stops the thread and joins it.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "support/loopback_listener.h"

namespace qvtest {

class WhoisTestServer {
 public:
  enum class Mode {
    Answer,           // send the text, then close
    AnswerInPieces,   // send the text in pieces with pauses, then close
    StallAfter,       // send the text, then keep the connection open until the client leaves
    CloseWithoutAnswer,  // read the query, close in order without a byte
    Reset,            // read the query, then reset the connection
    Endless,          // send text without end until the client leaves
  };
  struct Script {
    Mode mode = Mode::Answer;
    std::string text;
    std::size_t pieceSize = 0;
    int pauseMs = 0;
  };
  static Script Answer(std::string text) { return {Mode::Answer, std::move(text)}; }
  static Script InPieces(std::string text, std::size_t pieceSize, int pauseMs) {
    return {Mode::AnswerInPieces, std::move(text), pieceSize, pauseMs};
  }
  static Script StallAfter(std::string text) { return {Mode::StallAfter, std::move(text)}; }
  static Script CloseWithoutAnswer() { return {Mode::CloseWithoutAnswer, {}}; }
  static Script Reset() { return {Mode::Reset, {}}; }
  static Script Endless() { return {Mode::Endless, {}}; }

  explicit WhoisTestServer(Script script);
  WhoisTestServer(const WhoisTestServer&) = delete;
  WhoisTestServer& operator=(const WhoisTestServer&) = delete;

  bool listening() const { return listener_.listening(); }
  int port() const { return listener_.port(); }

  // Stops serving and counts the connections still waiting to be accepted.
  // Afterwards connections() and queries() are final.
  void Finish();
  int connections() const { return listener_.connections(); }
  std::vector<std::string> queries() const;
  // The last query line received; empty when none came.
  std::string query() const;

  // A loopback port on which nothing listens (a connection there is refused).
  static int UnusedPort() { return UnusedLoopbackPort(); }

 private:
  void Serve(int fd);
  std::string ReadQuery(int fd);
  bool SendAll(int fd, const char* data, std::size_t size);
  void WaitForClientToLeave(int fd);
  void StreamEndlessly(int fd);

  Script script_;
  mutable std::mutex mutex_;
  std::vector<std::string> queries_;
  LoopbackListener listener_{[this](int fd) { Serve(fd); }};
};

}  // namespace qvtest
