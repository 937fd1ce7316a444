#include "lookup/answer_files.h"

#include <array>
#include <fstream>
#include <iterator>
#include <system_error>

#include "lookup/answer_error_index.h"
#include "platform/ascii.h"
#include "platform/data_folder.h"
#include "platform/settings_store.h"

namespace qv {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kLookupErrorMark = "Whois Lookup Error:";
constexpr std::array<std::string_view, 4> kDeviceNames = {"con", "prn", "aux", "nul"};

bool IsDeviceName(std::string_view label) {
  const std::string lower = ToLowerAscii(label);
  for (std::string_view device : kDeviceNames)
    if (lower == device) return true;
  // com1 .. com9, lpt1 .. lpt9
  return lower.size() == 4 && (lower.starts_with("com") || lower.starts_with("lpt")) &&
         lower[3] >= '1' && lower[3] <= '9';
}

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name.front() == '.') return false;
  if (name.find("..") != std::string_view::npos) return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7f || c == '/' || c == '\\') return false;
  return true;
}

// The first character of the name as the folder it is kept in: one byte, or
// the whole sequence of a UTF-8 character.
std::string FirstCharacter(std::string_view name) {
  const unsigned char lead = static_cast<unsigned char>(name.front());
  std::size_t length = 1;
  if (lead >= 0xF0) length = 4;
  else if (lead >= 0xE0) length = 3;
  else if (lead >= 0xC0) length = 2;
  if (length > name.size()) length = 1;
  for (std::size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80) return std::string(name.substr(0, 1));
  return std::string(name.substr(0, length));
}

// Before a file is read or written, a file kept under the older name (without
// ".txt") takes the ".txt" name, unless a ".txt" file is there already.
void MoveOlderFile(const fs::path& file) {
  fs::path older = file;
  older.replace_extension();
  std::error_code ec;
  if (fs::is_regular_file(older, ec) && !fs::exists(file, ec)) fs::rename(older, file, ec);
}

std::string StoredFolderText() {
  return GetProfileString(kSettingsSection, kWhoisDataPathKey, "");
}

}  // namespace

bool SaveWhoisDataEnabled() {
  return GetProfileInt(kSettingsSection, kSaveWhoisDataKey, kSaveWhoisDataDefault) != 0;
}

void SetSaveWhoisDataEnabled(bool on) {
  WriteProfileInt(kSettingsSection, kSaveWhoisDataKey, on ? 1 : 0);
}

bool AutoDnsLookupSetting() {
  return GetProfileInt(kSettingsSection, kAutoDnsLookupKey, kAutoDnsLookupDefault) != 0;
}

void SetAutoDnsLookupSetting(bool on) {
  WriteProfileInt(kSettingsSection, kAutoDnsLookupKey, on ? 1 : 0);
}

fs::path DefaultWhoisDataFolder() { return DataFolder() / kWhoisDataFolderName; }

fs::path WhoisDataFolder() {
  std::string text = StoredFolderText();
  while (text.size() > 1 && (text.back() == '\\' || text.back() == '/')) text.pop_back();
  if (text.empty()) return DefaultWhoisDataFolder();
  return fs::path(text);
}

void SetWhoisDataFolder(const fs::path& folder) {
  if (folder.empty()) {
    WriteProfileString(kSettingsSection, kWhoisDataPathKey, "");
    return;
  }
  std::string text = folder.string();
  if (text.back() != '/') text += '/';  // the stored path ends with the folder mark
  WriteProfileString(kSettingsSection, kWhoisDataPathKey, text);
}

std::optional<std::string> AnswerFileStem(std::string_view domain) {
  if (!IsSafeFileName(domain)) return std::nullopt;
  std::string stem(domain);
  const std::size_t labelEnd = std::min(stem.find('.'), stem.size());
  if (IsDeviceName(std::string_view(stem).substr(0, labelEnd))) stem.insert(labelEnd - 1, "_");
  return stem;
}

std::optional<fs::path> AnswerFilePath(const fs::path& folder, std::string_view domain) {
  const std::optional<std::string> stem = AnswerFileStem(domain);
  if (!stem) return std::nullopt;
  return folder / FirstCharacter(*stem) / (*stem + ".txt");
}

bool SaveWhoisText(std::string_view domain, std::string_view text) {
  if (!SaveWhoisDataEnabled()) return false;
  const fs::path folder = WhoisDataFolder();
  const std::optional<fs::path> file = AnswerFilePath(folder, domain);
  if (!file) return false;
  std::error_code ec;
  fs::create_directories(file->parent_path(), ec);
  MoveOlderFile(*file);
  // Written beside the file and then put in its place, so a failed write
  // never leaves half an answer behind.
  fs::path temporary = *file;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    if (!out) {
      fs::remove(temporary, ec);
      return false;
    }
  }
  fs::rename(temporary, *file, ec);
  if (ec) {
    fs::remove(temporary, ec);
    return false;
  }
  AnswerErrorIndex::Instance().NoteSaved(folder, domain, text.find(kLookupErrorMark) != std::string_view::npos);
  return true;
}

std::string LoadWhoisText(std::string_view domain) {
  const std::optional<fs::path> file = AnswerFilePath(WhoisDataFolder(), domain);
  if (file) {
    MoveOlderFile(*file);
    std::ifstream in(*file, std::ios::binary);
    if (in) return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return SaveWhoisDataEnabled() ? std::string() : std::string(kWhoisLoggingDisabledText);
}

bool KeptAnswerHasLookupError(const fs::path& folder, std::string_view domain) {
  const std::optional<fs::path> file = AnswerFilePath(folder, domain);
  if (!file) return false;
  std::ifstream in(*file, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return text.find(kLookupErrorMark) != std::string::npos;
}

}  // namespace qv
