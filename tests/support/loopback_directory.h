// Test suffixes pointed at loopback servers through the whois directory's
// stored records. Header only: it is used by the test programs that link the
// directory, not by the support library itself.
#pragma once

#include <string>

#include "whois/server_directory.h"

namespace qvtest {

// Lookups at `host` (a whois host, or an RDAP service as "127.0.0.1:port")
// go out up to `connections` at once with no pause between them; `port`
// replaces the stored one when not 0.
inline void PoliteServer(const std::string& host, int port = 0, int connections = 4) {
  qv::WhoisServerRecord record(host, false);
  if (port != 0) record.port = port;
  record.maxConnections = connections;
  record.connectionInterval = -1;
  record.manuallyEdited = 1;
}

// Names under `suffix` are looked up at `host` on `port`, as PoliteServer.
inline void PointSuffixAt(const std::string& suffix, const std::string& host, int port, int connections = 4) {
  {
    qv::TldRecord tld(suffix);
    tld.server = host;
  }
  PoliteServer(host, port, connections);
}

}  // namespace qvtest
