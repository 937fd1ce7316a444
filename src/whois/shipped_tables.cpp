#include "whois/shipped_tables.h"

#include <QFile>
#include <QByteArray>
#include <string_view>
#include <unordered_map>

// Qt registers the resources of a static library only when asked; the call
// must be made from the global namespace.
static void InitWhoisDataResource() { Q_INIT_RESOURCE(whois_data); }

namespace qv {
namespace {

using Table = std::unordered_map<std::string, std::string>;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

QByteArray ReadResource(const char* path) {
  InitWhoisDataResource();
  QFile file(QString::fromLatin1(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// Calls fn(first, second) for every data line of a TAB-separated file; the
// header line and lines with fewer than two columns are passed over.
template <typename Fn>
void ForEachRow(const QByteArray& bytes, Fn fn) {
  std::string_view text(bytes.constData(), std::size_t(bytes.size()));
  bool header = true;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (header) {
      header = false;
      continue;
    }
    const std::size_t tab1 = line.find('\t');
    if (tab1 == std::string_view::npos) continue;
    std::string_view second = line.substr(tab1 + 1);
    second = second.substr(0, second.find('\t'));
    fn(line.substr(0, tab1), second);
  }
}

Table LoadServers() {
  Table table;
  ForEachRow(ReadResource(":/qv/whois/data/whois-servers.tsv"),
             [&](std::string_view suffix, std::string_view server) {
               if (!suffix.empty()) table.emplace(Lower(suffix), Lower(server));
             });
  return table;
}

Table LoadTokens() {
  Table table;
  ForEachRow(ReadResource(":/qv/whois/data/whois-available-tokens.tsv"),
             [&](std::string_view server, std::string_view token) {
               if (server.empty() || token.empty()) return;
               std::string& joined = table[Lower(server)];
               if (!joined.empty()) joined += '|';
               joined += token;
             });
  return table;
}

// The first https:// base URL of each TLD, else its first URL.
Table LoadRdapServers() {
  Table table;
  ForEachRow(ReadResource(":/qv/whois/data/rdap-servers.tsv"),
             [&](std::string_view tld, std::string_view urls) {
               std::string_view chosen;
               while (!urls.empty()) {
                 const std::size_t blank = urls.find(' ');
                 const std::string_view url = urls.substr(0, blank);
                 urls.remove_prefix(blank == std::string_view::npos ? urls.size() : blank + 1);
                 if (chosen.empty() || (!chosen.starts_with("https://") && url.starts_with("https://")))
                   chosen = url;
               }
               if (!tld.empty() && !chosen.empty()) table.emplace(Lower(tld), std::string(chosen));
             });
  return table;
}

const Table& RdapServers() {
  static const Table table = LoadRdapServers();
  return table;
}

const Table& Servers() {
  static const Table table = LoadServers();
  return table;
}

const Table& Tokens() {
  static const Table table = LoadTokens();
  return table;
}

}  // namespace

ShippedSuffixMatch ShippedSuffixForName(std::string_view name) {
  const std::string lower = Lower(name);
  const Table& servers = Servers();
  // The first dot starts the longest proper suffix; a name without a dot is
  // looked up whole.
  std::size_t from = lower.find('.');
  from = (from == std::string::npos) ? 0 : from + 1;
  while (from < lower.size()) {
    auto it = servers.find(lower.substr(from));
    if (it != servers.end()) return {true, it->first, it->second};
    const std::size_t dot = lower.find('.', from);
    if (dot == std::string::npos) break;
    from = dot + 1;
  }
  return {};
}

ShippedSuffixMatch ShippedRdapForName(std::string_view name) {
  const std::string lower = Lower(name);
  const std::size_t dot = lower.rfind('.');
  const std::string tld = dot == std::string::npos ? lower : lower.substr(dot + 1);
  const Table& servers = RdapServers();
  auto it = servers.find(tld);
  if (it == servers.end()) return {};
  return {true, it->first, it->second};
}

std::string ShippedTokensForServer(std::string_view server) {
  const Table& tokens = Tokens();
  auto it = tokens.find(Lower(server));
  return it == tokens.end() ? std::string() : it->second;
}

}  // namespace qv
