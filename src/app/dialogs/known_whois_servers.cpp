#include "app/dialogs/known_whois_servers.h"

#include <algorithm>

#include "platform/ascii.h"
#include "store/database_connection.h"
#include "store/domain_fields.h"
#include "whois/builtin_tables.h"
#include "whois/server_directory.h"

namespace qv {
std::vector<std::string> KnownWhoisServers(const std::vector<std::string>& extra) {
  std::vector<std::string> servers;
  auto add = [&servers](std::string_view host) {
    if (!host.empty()) servers.push_back(ToLowerAscii(host));
  };
  for (const BuiltinTldRow& row : BuiltinTldTable()) add(row.server);
  for (const BuiltinServerRow& row : BuiltinServerTable()) add(row.server);
  for (const std::string& key : LoadTldList()) add(StoredServerOfKey(key));
  for (const std::string& host : extra) add(host);
  std::sort(servers.begin(), servers.end());
  servers.erase(std::unique(servers.begin(), servers.end()), servers.end());
  return servers;
}

std::string DomainWhoisServer(DomainDatabase* db, std::string_view name) {
  if (name.empty()) return {};
  std::string server;
  if (db && db->HasPath()) server = db->GetFieldText(name, field::kWhoisServer);
  if (server.empty()) server = WhoisServerFor(name);
  return server;
}

}  // namespace qv
