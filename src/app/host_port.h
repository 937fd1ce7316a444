// A server as the user types it: "HOST" or "HOST:PORT".
#pragma once

#include <QString>
#include <optional>

namespace qv {

struct HostPort {
  QString host;
  std::optional<int> port;  // none when the text names no port
};

// Nothing when the host is empty or the port is not a number from 1 to 65535.
std::optional<HostPort> ParseHostPort(const QString& text);

}  // namespace qv
