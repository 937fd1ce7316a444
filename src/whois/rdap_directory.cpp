#include "whois/rdap_directory.h"

#include <QUrl>

#include "platform/ascii.h"
#include "platform/host_name.h"
#include "platform/settings_store.h"
#include "whois/server_directory.h"
#include "whois/shipped_tables.h"

namespace qv {

std::string StoredRdapUrlOfSuffix(std::string_view suffix) {
  if (suffix.empty()) return {};
  return ReadDirectString(kCompanyName, kWhoisProduct, DirectorySection(suffix), kRdapUrlValue, "");
}

void StoreRdapUrlOfSuffix(std::string_view suffix, std::string_view url) {
  if (suffix.empty()) return;
  const std::string section = DirectorySection(suffix);
  if (url.empty())
    DeleteDirectValue(kCompanyName, kWhoisProduct, section, kRdapUrlValue);
  else
    WriteDirectString(kCompanyName, kWhoisProduct, section, kRdapUrlValue, url);
}

RdapService RdapServiceForName(std::string_view name) {
  const std::string lower = ToLowerAscii(name);
  // Every proper suffix, longest first; a name without a dot is its own TLD.
  std::size_t from = lower.find('.');
  from = from == std::string::npos ? 0 : from + 1;
  while (from < lower.size()) {
    const std::string suffix = lower.substr(from);
    std::string url = StoredRdapUrlOfSuffix(suffix);
    if (!url.empty()) return {suffix, std::move(url), true};
    const std::size_t dot = lower.find('.', from);
    if (dot == std::string::npos) break;
    from = dot + 1;
  }
  const ShippedSuffixMatch shipped = ShippedRdapForName(lower);
  if (!shipped.found) return {};
  return {shipped.suffix, shipped.server, false};
}

std::string RdapBaseUrlFor(std::string_view name) { return RdapServiceForName(name).baseUrl; }

std::string RdapQueryUrl(std::string_view baseUrl, std::string_view name) {
  const std::string ace = AceHostName(name);
  if (ace.empty() || !IsAsciiHostName(ace, 1)) return {};
  const QUrl base(QString::fromUtf8(baseUrl.data(), qsizetype(baseUrl.size())), QUrl::StrictMode);
  const QString scheme = base.scheme().toLower();
  if (!base.isValid() || base.host().isEmpty() ||
      (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
    return {};
  std::string url(baseUrl);
  if (url.back() != '/') url += '/';
  return url + ToLowerAscii(ace);
}

std::string RdapHostOf(std::string_view url) {
  const QUrl parsed(QString::fromUtf8(url.data(), qsizetype(url.size())));
  return parsed.host().toLower().toStdString();
}

}  // namespace qv

namespace qv {

std::string RdapServerKey(std::string_view url) {
  const QUrl parsed(QString::fromUtf8(url.data(), qsizetype(url.size())));
  std::string key = parsed.host().toLower().toStdString();
  if (!key.empty() && parsed.port() > 0) key += ":" + std::to_string(parsed.port());
  return key;
}

}  // namespace qv
