// The per-user settings store.
//
// Two ways in, both over QSettings in INI format in the user's scope:
//  - the application profile (company "Tembrix", application "Quorvel"): one
//    group per section, the program's ordinary settings living in "Settings";
//  - direct accessors over a three-level path company / product / section, used
//    for structured records such as the whois server directory (product
//    "Whois Setup").
//
// Reads never fail: a missing section, key or value, or a value of the wrong
// type, gives the caller's default. Nothing is cached here, so a value written
// by one dialog is seen by the next reader. QSettings is reentrant, so any
// thread may read or write through these functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr const char* kCompanyName = "Tembrix";
inline constexpr const char* kApplicationName = "Quorvel";
inline constexpr const char* kWhoisProduct = "Whois Setup";
inline constexpr const char* kSettingsSection = "Settings";

// The longest string a direct read returns, in bytes (the 255-byte buffer less
// its terminator).
inline constexpr std::size_t kDirectStringMax = 254;
// Where to cut a text to at most `maxBytes` bytes without splitting a UTF-8
// character (a text that is not UTF-8 is cut at `maxBytes`).
std::size_t CutPointUtf8(std::string_view text, std::size_t maxBytes);

// Forgets every thread's open stores, so the next access finds the store at
// its current location (QSettings::setPath). Values are not lost: they live in
// the files.
void ResetSettingsCache();

// --- Application profile -------------------------------------------------
int GetProfileInt(std::string_view section, std::string_view key, int defaultValue);
std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue);
bool WriteProfileInt(std::string_view section, std::string_view key, int value);
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view text);
// Removes a whole profile section (used by lists stored as numbered values).
void DeleteProfileSection(std::string_view section);

// --- Direct three-level accessors ----------------------------------------
int ReadDirectInt(std::string_view company, std::string_view product, std::string_view section,
                  std::string_view name, int defaultValue);
bool WriteDirectInt(std::string_view company, std::string_view product, std::string_view section,
                    std::string_view name, int value);
// At most kDirectStringMax bytes come back; the default is returned unchanged
// when the value is missing.
std::string ReadDirectString(std::string_view company, std::string_view product,
                             std::string_view section, std::string_view name,
                             std::string_view defaultValue);
bool WriteDirectString(std::string_view company, std::string_view product,
                       std::string_view section, std::string_view name, std::string_view text);
bool HasDirectValue(std::string_view company, std::string_view product, std::string_view section,
                    std::string_view name);
void DeleteDirectValue(std::string_view company, std::string_view product,
                       std::string_view section, std::string_view name);

// --- Several values at once ----------------------------------------------
// Values that belong together (one record, one list) are collected here and
// reach the settings file in a single rewrite on Commit. QSettings rewrites
// the file through a temporary file renamed over the old one, so a process
// killed at any moment leaves all of the values or none of them, never a
// record half old and half new.
class SettingsBatch {
 public:
  // The application profile, or the direct store company / product.
  static SettingsBatch Profile();
  static SettingsBatch Direct(std::string_view company, std::string_view product);

  SettingsBatch& SetInt(std::string_view section, std::string_view name, int value);
  SettingsBatch& SetString(std::string_view section, std::string_view name, std::string_view text);
  SettingsBatch& Remove(std::string_view section, std::string_view name);
  // Removes the whole section; values set after this in the same batch stay.
  SettingsBatch& RemoveSection(std::string_view section);

  // Applies everything in the order given and writes the file once. False
  // when the file could not be written.
  bool Commit();

 private:
  SettingsBatch(std::string company, std::string product)
      : company_(std::move(company)), product_(std::move(product)) {}
  struct Change {
    enum class Kind { Int, String, Remove, RemoveSection } kind;
    std::string section, name;
    int number = 0;
    std::string text;
  };
  std::string company_, product_;
  std::vector<Change> changes_;
};

// --- Recent-file list ("Recent File List", File1 newest .. File4) ---------
inline constexpr int kRecentFileCount = 4;
std::vector<std::string> RecentFiles();
// Puts the path first, drops an older entry for the same path and keeps four.
void AddRecentFile(std::string_view path);
void RemoveRecentFile(std::string_view path);

// --- Main window placement ("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d") ----------------
struct WindowPlacement {
  unsigned flags = 0;
  unsigned showCmd = 0;
  int minX = 0, minY = 0;
  int maxX = 0, maxY = 0;
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const WindowPlacement&) const = default;
};
std::string FormatWindowPlacement(const WindowPlacement& p);
// All ten numbers must be present; anything less gives nothing.
std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text);
void WriteWindowPlacement(const WindowPlacement& p, std::string_view key = "WindowPosition");
std::optional<WindowPlacement> ReadWindowPlacement(std::string_view key = "WindowPosition");

}  // namespace qv
