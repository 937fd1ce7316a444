// The raw whois answers kept on disk: one text file per domain name under the
// folder of `Whois Data Path`, inside a folder named after the name's first
// character ("x/xample.com.txt"). Each applied answer rewrites its file whole.
//
// A stored name becomes a file name here, so a name that could point outside
// the answer folder ("..", a slash or backslash, control characters, a
// leading dot) never becomes a path: it has no answer file. Names that
// Windows reserves for devices keep a file name that every system accepts:
// "prn.com" is kept as "pr_n.com".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Settings (section "Settings").
inline constexpr const char* kSaveWhoisDataKey = "Save Whois Data";  // int, default 1
inline constexpr int kSaveWhoisDataDefault = 1;
inline constexpr const char* kWhoisDataPathKey = "Whois Data Path";  // string, default below
inline constexpr const char* kAutoDnsLookupKey = "Auto DNS Lookup";  // int, default 1
inline constexpr int kAutoDnsLookupDefault = 1;

// The folder name of the answer files inside the per-user data folder.
inline constexpr const char* kWhoisDataFolderName = "whoisdata";

// What LoadWhoisText gives for a name without a file while saving is off.
inline constexpr const char* kWhoisLoggingDisabledText =
    "Whois output logging is not enabled,\r\n"
    "Use the 'Edit > Raw Whois Data Log' menu option to enable logging\r\n"
    "and to keep a copy of the whois output in hard disk";

// "Save Whois Data" ("Enable Raw Whois Logging (to Disk)").
bool SaveWhoisDataEnabled();
void SetSaveWhoisDataEnabled(bool on);
// "Auto DNS Lookup": queue a DNS check when a fresh whois lookup starts.
bool AutoDnsLookupSetting();
void SetAutoDnsLookupSetting(bool on);

// The folder of the answer files: `Whois Data Path` when set (a trailing
// backslash or slash is the folder mark and is dropped), else the per-user
// data folder's "whoisdata".
std::filesystem::path WhoisDataFolder();
// The default folder, as the "Log Whois Output to Disk" dialog shows it.
std::filesystem::path DefaultWhoisDataFolder();
// Stores `Whois Data Path`; an empty path goes back to the default.
void SetWhoisDataFolder(const std::filesystem::path& folder);

// The file name a domain name is kept under ("pr_n.com" for "prn.com"), or
// nothing when the name is not safe as a file name.
std::optional<std::string> AnswerFileStem(std::string_view domain);
// The answer file of a name under `folder` ("<folder>/<first char>/<stem>.txt"),
// or nothing for a name that is not safe as a file name.
std::optional<std::filesystem::path> AnswerFilePath(const std::filesystem::path& folder,
                                                    std::string_view domain);

// Writes the answer of `domain` as its whole file, creating the folders and
// first moving an older file kept without ".txt" to the ".txt" name. False,
// with nothing written, when `Save Whois Data` is 0, when the name is not safe
// as a file name or when the file cannot be written.
bool SaveWhoisText(std::string_view domain, std::string_view text);
// The kept answer of `domain` (after the same move of an older file). An
// empty text when there is none, or kWhoisLoggingDisabledText when there is
// none and saving is off.
std::string LoadWhoisText(std::string_view domain);
// Whether the kept answer of `domain` under `folder` holds "Whois Lookup
// Error:" (what LoadWhoisText would show, without its settings reads and
// file moves: for tests of many names in a row).
bool KeptAnswerHasLookupError(const std::filesystem::path& folder, std::string_view domain);

}  // namespace qv
