#include "whois/whois_query.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

#include "platform/host_name.h"
#include "platform/settings_store.h"
#include "platform/tcp_socket.h"

namespace qv {
namespace {

constexpr int kWhoisTimeoutMax = 2147483;  // seconds; times 1000 still fits an int

bool HoldsLineBreakOrZero(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\v\f";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

std::string ReplaceAll(std::string_view text, std::string_view placeholder,
                       std::string_view value) {
  std::string result;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(placeholder, from)) != std::string_view::npos;
       from = at + placeholder.size()) {
    result.append(text.substr(from, at - from));
    result.append(value);
  }
  result.append(text.substr(from));
  return result;
}

std::string QueryText(std::string_view name, std::string_view prefix) {
  if (prefix.empty()) return std::string(name);
  if (prefix.find("{D}") != std::string_view::npos)
    return ReplaceAll(TrimBlanks(prefix), "{D}", name);
  if (prefix.find("{d}") != std::string_view::npos)
    return ReplaceAll(TrimBlanks(prefix), "{d}", name.substr(0, name.find('.')));
  std::string text(prefix);
  text += ' ';
  text.append(name);
  return text;
}

// Where the answer stands when the connection ends in an error or a receive
// time-out: what came counts when it is long enough.
bool CutShortResult(const std::string& output) { return output.size() > kWhoisUsableLength; }

// Maps a failed resolve or connect to the caller's result.
bool ConnectFailure(SocketError error, std::string& output) {
  if (error == SocketError::NoAddress) {
    output = kWhoisNotReachableText;
    return true;
  }
  if (error == SocketError::Refused) {
    output = kWhoisRefusedText;
    return true;
  }
  output.clear();
  return false;
}

// How the reading of an answer ended.
enum class AnswerEnd {
  Closed,    // the server closed the connection in order
  CutShort,  // a receive error, or the server fell silent for the receive time-out
  Overrun,   // the server was still sending at the size limit or the deadline
};

// Reads the answer until the server closes, an error, the size limit or the
// deadline.
AnswerEnd ReceiveAnswer(TcpSocket& socket, std::string& output,
                        std::chrono::steady_clock::time_point deadline) {
  std::array<char, kWhoisReceiveBuffer> buffer;
  std::size_t received = 0;
  while (received < kWhoisMaxAnswerBytes) {
    buffer.fill('\0');
    const std::size_t ask = std::min(kWhoisReceiveChunk, kWhoisMaxAnswerBytes - received);
    const long got = socket.Receive(buffer.data(), ask);
    if (got == 0) return AnswerEnd::Closed;
    if (got < 0) {
      const bool pastDeadline = socket.lastError() == SocketError::TimedOut &&
                                std::chrono::steady_clock::now() >= deadline;
      return pastDeadline ? AnswerEnd::Overrun : AnswerEnd::CutShort;
    }
    received += std::size_t(got);
    // The chunk counts as text: up to its first zero byte.
    output.append(buffer.data(), ::strnlen(buffer.data(), std::size_t(got)));
  }
  return AnswerEnd::Overrun;
}

}  // namespace

int WhoisQueryDeadlineMs(int timeoutMs) {
  if (timeoutMs <= 0 || timeoutMs >= kWhoisMaxQueryMs / kWhoisDeadlineFactor)
    return kWhoisMaxQueryMs;
  return timeoutMs * kWhoisDeadlineFactor;
}

int WhoisTimeoutSeconds() {
  const int seconds = GetProfileInt(kSettingsSection, kWhoisTimeoutKey, kWhoisTimeoutDefault);
  return std::clamp(seconds, 1, kWhoisTimeoutMax);
}

bool SetWhoisTimeoutSeconds(int seconds) {
  return WriteProfileInt(kSettingsSection, kWhoisTimeoutKey,
                         std::clamp(seconds, 1, kWhoisTimeoutMax));
}

std::optional<std::string> BuildWhoisQueryLine(std::string_view name, std::string_view prefix) {
  if (HoldsLineBreakOrZero(name) || HoldsLineBreakOrZero(prefix)) return std::nullopt;
  // An international name goes to the server in its ASCII form.
  const std::string ace = AceHostName(name);
  std::string line = QueryText(ace.empty() ? std::string(name) : ace, prefix);
  line += "\r\n";
  if (line.size() + 1 > kWhoisQueryLineBuffer) return std::nullopt;
  return line;
}

bool IsWhoisDatabaseDown(std::string_view text) {
  return text.find("Sorry, the Whois database is currently down.") != std::string_view::npos;
}

bool WhoisQuery(std::string_view name, std::string_view server, std::string_view prefix,
                std::string& output, int port, int timeoutMs) {
  if (server.empty()) return false;
  output.clear();
  const std::optional<std::string> line = BuildWhoisQueryLine(name, prefix);
  if (!line || server.find('\0') != std::string_view::npos) return false;

  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(WhoisQueryDeadlineMs(timeoutMs));
  TcpSocket socket;
  if (!socket.Open()) return false;
  socket.SetDeadline(deadline);
  if (!socket.SetReceiveTimeout(timeoutMs)) return false;
  in_addr address{};
  SocketError error = ResolveIPv4(std::string(server), address);
  if (error == SocketError::None) error = socket.Connect(address, port, timeoutMs);
  if (error != SocketError::None) {
    socket.ShutdownReceive();
    socket.Close();
    return ConnectFailure(error, output);
  }
  if (!socket.SendAll(*line)) {
    socket.ShutdownReceive();
    socket.Close();
    return false;
  }
  const AnswerEnd end = ReceiveAnswer(socket, output, deadline);
  socket.ShutdownReceive();
  socket.Close();
  // A server that never stops sending has not given an answer, however much
  // of one came.
  if (end == AnswerEnd::Overrun) return false;
  if (end == AnswerEnd::CutShort) return CutShortResult(output);
  // A server that closes without a word has not answered.
  return !output.empty() && !IsWhoisDatabaseDown(output);
}

}  // namespace qv
