#include "app/host_port.h"

namespace qv {

std::optional<HostPort> ParseHostPort(const QString& text) {
  const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
  HostPort parsed{colon < 0 ? text : text.left(colon), std::nullopt};
  if (parsed.host.isEmpty()) return std::nullopt;
  if (colon < 0) return parsed;
  bool ok = false;
  const int port = text.mid(colon + 1).toInt(&ok, 10);
  if (!ok || port < 1 || port > 65535) return std::nullopt;
  parsed.port = port;
  return parsed;
}

}  // namespace qv
