#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QString>
#include <atomic>
#include <charconv>
#include <map>
#include <memory>
#include <cstdio>

#include "platform/text.h"

namespace qv {
namespace {

QString Q(std::string_view s) { return ToQString(s); }

QString KeyPath(std::string_view section, std::string_view key) {
  return Q(section) + QLatin1Char('/') + Q(key);
}

// Building a QSettings object costs tens of microseconds (path lookup, file
// check), and a whois parse reads a dozen values, so each thread keeps one
// object per store. That holds no state of its own: every QSettings of the
// process on the same file shares one in-memory copy, so a value written
// anywhere in the program is seen at once by the next reader. Changes made by
// another process are picked up by re-checking the file at most once a second.
// The cache follows the store's location: ResetSettingsCache() (used when the
// location changes, as in tests) drops every thread's objects.
std::atomic<unsigned> g_cacheGeneration{0};
constexpr qint64 kResyncMs = 1000;

struct CachedStore {
  std::unique_ptr<QSettings> settings;
  QElapsedTimer sinceSync;
};

struct ThreadStores {
  unsigned generation = 0;
  std::map<QString, CachedStore> stores;
};

ThreadStores& ThisThreadStores() {
  thread_local ThreadStores stores;
  return stores;
}

// The main thread's objects go before the application object does, so they
// are never destroyed after Qt's own globals.
void DropMainThreadStores() { ThisThreadStores().stores.clear(); }

QSettings& Store(std::string_view company, std::string_view product) {
  static const bool registered = [] {
    if (QCoreApplication::instance()) qAddPostRoutine(DropMainThreadStores);
    return true;
  }();
  (void)registered;
  ThreadStores& cache = ThisThreadStores();
  const unsigned generation = g_cacheGeneration.load();
  if (cache.generation != generation) {
    cache.stores.clear();
    cache.generation = generation;
  }
  CachedStore& entry = cache.stores[Q(company) + QChar(0x1f) + Q(product)];
  if (!entry.settings) {
    entry.settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                 Q(company), Q(product));
    entry.sinceSync.start();
  } else if (entry.sinceSync.elapsed() > kResyncMs) {
    entry.settings->sync();
    entry.sinceSync.restart();
  }
  return *entry.settings;
}

QSettings& Profile() { return Store(kCompanyName, kApplicationName); }

int ReadInt(const QSettings& s, const QString& path, int defaultValue) {
  const QVariant v = s.value(path);
  if (!v.isValid()) return defaultValue;
  bool ok = false;
  // A DWORD is stored; larger values wrap as the 32-bit value they were.
  const qlonglong n = v.toLongLong(&ok);
  if (!ok || n < -2147483648LL || n > 4294967295LL) return defaultValue;
  return int(static_cast<unsigned>(n & 0xffffffffLL));
}

std::optional<std::string> ReadString(const QSettings& s, const QString& path) {
  const QVariant v = s.value(path);
  if (!v.isValid() || !v.canConvert<QString>()) return std::nullopt;
  return ToStdString(v.toString());
}

bool Finish(QSettings& s) {
  s.sync();
  return s.status() == QSettings::NoError;
}

}  // namespace

void ResetSettingsCache() { ++g_cacheGeneration; }

int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) {
  return ReadInt(Profile(), KeyPath(section, key), defaultValue);
}

std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue) {
  auto v = ReadString(Profile(), KeyPath(section, key));
  return v ? *v : std::string(defaultValue);
}

bool WriteProfileInt(std::string_view section, std::string_view key, int value) {
  QSettings& s = Profile();
  s.setValue(KeyPath(section, key), value);
  return Finish(s);
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view text) {
  QSettings& s = Profile();
  s.setValue(KeyPath(section, key), Q(text));
  return Finish(s);
}

void DeleteProfileSection(std::string_view section) {
  QSettings& s = Profile();
  s.remove(Q(section));
  Finish(s);
}

int ReadDirectInt(std::string_view company, std::string_view product, std::string_view section,
                  std::string_view name, int defaultValue) {
  return ReadInt(Store(company, product), KeyPath(section, name), defaultValue);
}

bool WriteDirectInt(std::string_view company, std::string_view product, std::string_view section,
                    std::string_view name, int value) {
  QSettings& s = Store(company, product);
  s.setValue(KeyPath(section, name), value);
  return Finish(s);
}

std::string ReadDirectString(std::string_view company, std::string_view product,
                             std::string_view section, std::string_view name,
                             std::string_view defaultValue) {
  auto v = ReadString(Store(company, product), KeyPath(section, name));
  if (!v) return std::string(defaultValue);
  if (v->size() > kDirectStringMax) v->resize(CutPointUtf8(*v, kDirectStringMax));
  return *v;
}

std::size_t CutPointUtf8(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  if (!IsValidUtf8(text)) return maxBytes;
  std::size_t cut = maxBytes;
  // Back over continuation bytes to the start of the character cut in two.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

bool WriteDirectString(std::string_view company, std::string_view product,
                       std::string_view section, std::string_view name, std::string_view text) {
  QSettings& s = Store(company, product);
  s.setValue(KeyPath(section, name), Q(text));
  return Finish(s);
}

bool HasDirectValue(std::string_view company, std::string_view product, std::string_view section,
                    std::string_view name) {
  return Store(company, product).contains(KeyPath(section, name));
}

void DeleteDirectValue(std::string_view company, std::string_view product,
                       std::string_view section, std::string_view name) {
  QSettings& s = Store(company, product);
  s.remove(KeyPath(section, name));
  Finish(s);
}

// --- Batches ---------------------------------------------------------------

SettingsBatch SettingsBatch::Profile() { return SettingsBatch(kCompanyName, kApplicationName); }

SettingsBatch SettingsBatch::Direct(std::string_view company, std::string_view product) {
  return SettingsBatch(std::string(company), std::string(product));
}

SettingsBatch& SettingsBatch::SetInt(std::string_view section, std::string_view name, int value) {
  changes_.push_back({Change::Kind::Int, std::string(section), std::string(name), value, {}});
  return *this;
}

SettingsBatch& SettingsBatch::SetString(std::string_view section, std::string_view name,
                                        std::string_view text) {
  changes_.push_back({Change::Kind::String, std::string(section), std::string(name), 0, std::string(text)});
  return *this;
}

SettingsBatch& SettingsBatch::Remove(std::string_view section, std::string_view name) {
  changes_.push_back({Change::Kind::Remove, std::string(section), std::string(name), 0, {}});
  return *this;
}

SettingsBatch& SettingsBatch::RemoveSection(std::string_view section) {
  changes_.push_back({Change::Kind::RemoveSection, std::string(section), {}, 0, {}});
  return *this;
}

bool SettingsBatch::Commit() {
  QSettings& s = Store(company_, product_);
  for (const Change& c : changes_) {
    switch (c.kind) {
      case Change::Kind::Int: s.setValue(KeyPath(c.section, c.name), c.number); break;
      case Change::Kind::String: s.setValue(KeyPath(c.section, c.name), Q(c.text)); break;
      case Change::Kind::Remove: s.remove(KeyPath(c.section, c.name)); break;
      case Change::Kind::RemoveSection: s.remove(Q(c.section)); break;
    }
  }
  changes_.clear();
  return Finish(s);
}

// --- Recent files ----------------------------------------------------------

namespace {
constexpr const char* kRecentSection = "Recent File List";

std::string RecentKey(int i) { return "File" + std::to_string(i + 1); }

void WriteRecentFiles(const std::vector<std::string>& files) {
  QSettings& s = Profile();
  s.remove(kRecentSection);
  for (int i = 0; i < int(files.size()) && i < kRecentFileCount; ++i)
    s.setValue(KeyPath(kRecentSection, RecentKey(i)), Q(files[std::size_t(i)]));
  Finish(s);
}

bool SamePath(std::string_view a, std::string_view b) {
  return Q(a).compare(Q(b), Qt::CaseSensitive) == 0;
}
}  // namespace

std::vector<std::string> RecentFiles() {
  std::vector<std::string> files;
  QSettings& s = Profile();
  for (int i = 0; i < kRecentFileCount; ++i) {
    auto v = ReadString(s, KeyPath(kRecentSection, RecentKey(i)));
    if (v && !v->empty()) files.push_back(*v);
  }
  return files;
}

void AddRecentFile(std::string_view path) {
  if (path.empty()) return;
  std::vector<std::string> files{std::string(path)};
  for (const auto& f : RecentFiles())
    if (!SamePath(f, path)) files.push_back(f);
  if (files.size() > std::size_t(kRecentFileCount)) files.resize(kRecentFileCount);
  WriteRecentFiles(files);
}

void RemoveRecentFile(std::string_view path) {
  std::vector<std::string> files;
  for (const auto& f : RecentFiles())
    if (!SamePath(f, path)) files.push_back(f);
  WriteRecentFiles(files);
}

// --- Window placement ------------------------------------------------------

std::string FormatWindowPlacement(const WindowPlacement& p) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCmd, p.minX,
                p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
  return buf;
}

namespace {
// Reads one number of the placement string, skipping blanks around it.
bool NextNumber(std::string_view& text, long long& out) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const char* begin = text.data() + i;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(begin, end, out);
  if (ec != std::errc()) return false;
  std::size_t used = std::size_t(ptr - text.data());
  while (used < text.size() && text[used] == ' ') ++used;
  if (used < text.size()) {
    if (text[used] != ',') return false;
    ++used;
  }
  text.remove_prefix(used);
  return true;
}
}  // namespace

std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text) {
  long long n[10];
  for (long long& v : n) {
    if (!NextNumber(text, v) || v < -2147483648LL || v > 4294967295LL) return std::nullopt;
  }
  auto i32 = [](long long v) { return int(static_cast<unsigned>(v & 0xffffffffLL)); };
  WindowPlacement p;
  p.flags = unsigned(n[0] & 0xffffffffLL);
  p.showCmd = unsigned(n[1] & 0xffffffffLL);
  p.minX = i32(n[2]);
  p.minY = i32(n[3]);
  p.maxX = i32(n[4]);
  p.maxY = i32(n[5]);
  p.left = i32(n[6]);
  p.top = i32(n[7]);
  p.right = i32(n[8]);
  p.bottom = i32(n[9]);
  return p;
}

void WriteWindowPlacement(const WindowPlacement& p, std::string_view key) {
  WriteProfileString(kSettingsSection, key, FormatWindowPlacement(p));
}

std::optional<WindowPlacement> ReadWindowPlacement(std::string_view key) {
  return ParseWindowPlacement(GetProfileString(kSettingsSection, key, ""));
}

}  // namespace qv
