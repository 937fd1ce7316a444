// The display modes of the domain list: which columns each mode shows, the
// column lists the user configured for a mode, and the widths remembered for
// every column name.
#pragma once

#include <QString>
#include <QStringList>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct ListColumn {
  QString name;
  int width = 100;
  bool operator==(const ListColumn&) const = default;
};

struct DisplayModeInfo {
  const char* code;           // also the settings section of the user's columns
  int commandId;              // stored in "Domain List Mode"
  const char* commandName;    // the command as the menus name it
  const char* selectorLabel;  // label in the mode selector; nullptr: not offered
  std::vector<ListColumn> columns;  // the default columns after "#" and "Domain"
};

// Command identifiers of the display modes.
inline constexpr int kModeImportantDates = 32781;
inline constexpr int kModeDomainRecords = 32782;  // only "#" and "Domain"
inline constexpr int kModeAddresses = 32783;
inline constexpr int kModeDomainStatus = 32784;
inline constexpr int kModeNetworkData = 32786;
inline constexpr int kModeEmailContacts = 32802;
inline constexpr int kModeCustomColumns = 32830;
inline constexpr int kModeWebVisibility = 32863;
inline constexpr int kModeWebsiteData = 32864;
inline constexpr int kModeHomeRedirects = 33818;
inline constexpr int kDefaultDisplayMode = kModeImportantDates;

// Settings.
inline constexpr const char* kDisplayModeKey = "Domain List Mode";          // section Settings
inline constexpr const char* kColumnWidthsSection = "List Column Widths";  // key = column name

// The columns every mode starts with.
inline constexpr const char* kRowNumberColumn = "#";
inline constexpr const char* kDomainColumn = "Domain";
inline constexpr int kRowNumberWidth = 60;
inline constexpr int kDomainWidth = 200;
inline constexpr int kDefaultUserColumnWidth = 100;

// The nine modes in the order of the mode table.
std::span<const DisplayModeInfo> DisplayModes();
// The mode of a command identifier; nullptr for any other identifier.
const DisplayModeInfo* DisplayModeOfCommand(int commandId);
// The labels of the mode selector, in order, and the command of each.
QStringList ModeSelectorLabels();
std::vector<int> ModeSelectorCommands();

// The columns a mode shows: "#" (60) and "Domain" (200), then the user's
// columns of the mode when any is stored, else the mode's default columns.
// Widths here are the mode's; RememberedColumnWidth overrides them.
std::vector<ListColumn> ModeColumns(int commandId);
// The user's stored columns of a mode code (section named by the code:
// "Size", "Column-%d", "Width-%d"); empty names are skipped.
std::vector<ListColumn> UserColumns(std::string_view modeCode);
void WriteUserColumns(std::string_view modeCode, const std::vector<ListColumn>& columns);

// The header a column shows: its name, except that `Alexa Rank`, which now
// holds ranks from any traffic ranking, shows "Traffic Rank".
QString ColumnHeaderText(const QString& name);

// The columns the setup dialog offers, in order (44 names).
const QStringList& OfferedColumns();

// The width remembered for a column name, or `fallback`.
int RememberedColumnWidth(const QString& name, int fallback);
void RememberColumnWidth(const QString& name, int width);

// "Domain List Mode" (default 32781).
int StoredDisplayMode();
void StoreDisplayMode(int commandId);

}  // namespace qv
