#include "whois/server_directory.h"

#include <algorithm>
#include <string>

#include "platform/settings_store.h"
#include "whois/builtin_tables.h"
#include "whois/shipped_tables.h"
#include "whois/token_keys.h"

namespace qv {
namespace {

constexpr const char* kWhoisServerValue = "Whois Server";
// A corrupt `Size` must not make a load read values for ever.
constexpr int kMaxTldListSize = 10000;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

std::string LastLabel(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

std::string ReadString(std::string_view section, std::string_view name) {
  return ReadDirectString(kCompanyName, kWhoisProduct, section, name, "");
}

int ReadInt(std::string_view section, std::string_view name, int defaultValue) {
  return ReadDirectInt(kCompanyName, kWhoisProduct, section, name, defaultValue);
}

void WriteString(std::string_view section, std::string_view name, std::string_view text) {
  WriteDirectString(kCompanyName, kWhoisProduct, section, name, text);
}

// The longest entry of the TLD list that the (lower-case) name ends with,
// after a dot; the first of equal length wins. Empty when none fits.
std::string LongestListedSuffix(const std::string& name) {
  std::string best;
  for (const std::string& entry : LoadTldList()) {
    const std::string suffix = Lower(entry);
    if (suffix.empty() || suffix.size() >= name.size() || suffix.size() <= best.size()) continue;
    const std::size_t at = name.size() - suffix.size();
    if (name[at - 1] == '.' && name.compare(at, suffix.size(), suffix) == 0) best = suffix;
  }
  return best;
}

void ReadManualRecord(WhoisServerRecord& r, const std::string& section) {
  r.queryPrefix = ReadString(section, "Query Prefix");
  r.removeLeftOf = ReadString(section, "Remove Left Of");
  r.removeRightOf = ReadString(section, "Remove Right Of");
  r.tokenWhenFree = ReadString(section, "Token When Free");
  r.webUrl = ReadString(section, "Web URL");
  r.ownerName = ReadString(section, "Owner Name");
  r.dateFormat = ReadString(section, "Date Format");
  r.maxConnections = ReadInt(section, "Max Connections", 1);
  r.connectionInterval = ReadInt(section, "Connection Interval", 8);
  r.port = ReadInt(section, "Whois Port", 43);
}

}  // namespace

std::string DirectorySection(std::string_view hostOrKey) { return Lower(hostOrKey); }

std::string StoredServerOfKey(std::string_view key) {
  if (key.empty()) return {};
  return ReadString(DirectorySection(key), kWhoisServerValue);
}

// --- TldRecord ---------------------------------------------------------------

TldRecord::TldRecord(std::string k) : key(Lower(k)), server(StoredServerOfKey(key)) {}

namespace {
// What a TldRecord leaves in the store when it is dropped: its server, unless
// that came from the shipped table alone. Writing only what differs keeps the
// store as "always written" would, without rewriting the settings file on
// every lookup.
void StoreKeyServer(const std::string& key, const std::string& server,
                    const std::string& shippedServer) {
  if (key.empty()) return;
  if (!shippedServer.empty() && server == shippedServer) return;
  if (StoredServerOfKey(key) != server) WriteString(DirectorySection(key), kWhoisServerValue, server);
}
}  // namespace

TldRecord::~TldRecord() {
  if (!moved_) StoreKeyServer(key, server, shippedServer_);
}

TldRecord::TldRecord(TldRecord&& other) noexcept
    : key(std::move(other.key)),
      server(std::move(other.server)),
      moved_(other.moved_),
      shippedServer_(std::move(other.shippedServer_)) {
  other.moved_ = true;
}

TldRecord& TldRecord::operator=(TldRecord&& other) noexcept {
  if (this == &other) return *this;
  // The record being replaced is dropped here, so it is stored as its
  // destructor would have stored it.
  if (!moved_) StoreKeyServer(key, server, shippedServer_);
  key = std::move(other.key);
  server = std::move(other.server);
  moved_ = other.moved_;
  shippedServer_ = std::move(other.shippedServer_);
  other.moved_ = true;
  return *this;
}

// --- WhoisServerRecord -------------------------------------------------------

WhoisServerRecord::WhoisServerRecord(std::string host, bool noSaveFlag)
    : noSave(noSaveFlag), server(std::move(host)) {
  const std::string section = DirectorySection(server);
  if (!server.empty()) manuallyEdited = ReadInt(section, "Manually Edited", 0);
  if (manuallyEdited == 0)
    ApplyServerDefaults(*this);
  else
    ReadManualRecord(*this, section);
}

WhoisServerRecord::~WhoisServerRecord() {
  if (!noSave) Save();
}

namespace {
// Every stored field of a record, for one write of the whole record.
void AddRecordValues(SettingsBatch& batch, const WhoisServerRecord& r) {
  const std::string section = DirectorySection(r.server);
  batch.SetString(section, "Query Prefix", r.queryPrefix)
      .SetString(section, "Remove Left Of", r.removeLeftOf)
      .SetString(section, "Remove Right Of", r.removeRightOf)
      .SetString(section, "Token When Free", r.tokenWhenFree)
      .SetString(section, "Web URL", r.webUrl)
      .SetString(section, "Owner Name", r.ownerName)
      .SetString(section, "Date Format", r.dateFormat)
      .SetInt(section, "Max Connections", r.maxConnections)
      .SetInt(section, "Connection Interval", r.connectionInterval)
      .SetInt(section, "Manually Edited", r.manuallyEdited)
      .SetInt(section, "Whois Port", r.port);
}

SettingsBatch WhoisStoreBatch() { return SettingsBatch::Direct(kCompanyName, kWhoisProduct); }
}  // namespace

void WhoisServerRecord::Save() const {
  if (server.empty()) return;
  SettingsBatch batch = WhoisStoreBatch();
  AddRecordValues(batch, *this);
  batch.Commit();
}

void ApplyServerDefaults(WhoisServerRecord& record) {
  const std::string_view host = record.server;
  for (const BuiltinTldRow& row : BuiltinTldTable()) {
    if (!EqualsNoCase(row.server, host)) continue;
    record.queryPrefix = std::string(row.queryPrefix);
    record.tokenWhenFree = std::string(row.tokenWhenFree);
    break;
  }
  record.port = 43;
  for (const BuiltinServerRow& row : BuiltinServerTable()) {
    if (!EqualsNoCase(row.server, host)) continue;
    record.removeLeftOf = std::string(row.removeLeftOf);
    record.removeRightOf = std::string(row.removeRightOf);
    record.dateFormat = std::string(row.dateFormat);
    break;
  }
  if (record.tokenWhenFree.empty()) record.tokenWhenFree = ShippedTokensForServer(host);
  record.maxConnections = IsComNetRegistryHost(host) ? 4 : 1;
  record.connectionInterval = IsOrgRegistryHost(host) ? 16 : 10;
}

// --- Keys and servers --------------------------------------------------------

std::string DefaultServerForKey(std::string_view key) {
  const std::string label = LastLabel(key);
  for (const BuiltinTldRow& row : BuiltinTldTable())
    if (EqualsNoCase(row.tld, label)) return std::string(row.server);
  return {};
}

std::string ShippedServerForName(std::string_view name) {
  return ShippedSuffixForName(name).server;
}

TldRecord ServerForName(std::string_view name) {
  const std::string lower = Lower(name);
  const bool hasDot = lower.find('.') != std::string::npos;
  const std::string listed = hasDot ? LongestListedSuffix(lower) : std::string();
  const std::string lastLabel = LastLabel(lower);
  TldRecord record(listed.empty() ? lastLabel : listed);
  if (record.server.empty() && !listed.empty()) record.server = StoredServerOfKey(lastLabel);
  if (record.server.empty()) record.server = DefaultServerForKey(record.key);
  if (record.server.empty()) {
    record.server = ShippedServerForName(lower);
    record.shippedServer_ = record.server;
  }
  return record;
}

std::string WhoisServerFor(std::string_view name) {
  const TldRecord record = ServerForName(name);
  return record.server;
}

// --- TLD List ----------------------------------------------------------------

const std::vector<std::string>& DefaultTldList() {
  static const std::vector<std::string> list{
      "com", "net", "org", "edu", "co.uk", "com.au", "co.in", "in", "info", "biz",
      "aero", "coop", "name", "ws", "nl", "nu", "de", "ca", "co.nz", "us",
      "fr", "tw", "tv", "ch", "eu", "it", "cn", "mobi"};
  return list;
}

std::vector<std::string> LoadTldList() {
  const int size = std::min(ReadInt(kTldListSection, "Size", 0), kMaxTldListSize);
  if (size <= 0) return DefaultTldList();
  std::vector<std::string> list;
  for (int i = 1; i <= size; ++i) {
    std::string entry = ReadString(kTldListSection, std::to_string(i));
    if (!entry.empty()) list.push_back(std::move(entry));
  }
  return list;
}

void SaveTldList(const std::vector<std::string>& list) {
  const int oldSize = std::min(ReadInt(kTldListSection, "Size", 0), kMaxTldListSize);
  const int size = int(list.size());
  SettingsBatch batch = WhoisStoreBatch();
  batch.SetInt(kTldListSection, "Size", size);
  for (int i = 0; i < size; ++i) batch.SetString(kTldListSection, std::to_string(i + 1), list[std::size_t(i)]);
  // Entries past the new end would only confuse a reader of the store.
  for (int i = size + 1; i <= oldSize; ++i) batch.Remove(kTldListSection, std::to_string(i));
  batch.Commit();
}

// --- Reset -------------------------------------------------------------------

std::string ResetWhoisServer(std::string_view domainName, std::string_view referralServer) {
  TldRecord tld = ServerForName(domainName);
  const std::string server = referralServer.empty() ? tld.server : std::string(referralServer);
  if (server.empty()) return {};
  tld.server = DefaultServerForKey(tld.key);

  WhoisServerRecord record(server, true);
  ApplyServerDefaults(record);
  record.manuallyEdited = 0;
  // The record and its cleared token lists go to the store together.
  SettingsBatch batch = WhoisStoreBatch();
  AddRecordValues(batch, record);
  const std::string section = DirectorySection(server);
  for (const TokenKey& token : kTokenKeys) batch.SetString(section, token.settingsKey, "");
  batch.Commit();
  return server;
}

}  // namespace qv
