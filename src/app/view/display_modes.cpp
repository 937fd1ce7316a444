#include "app/view/display_modes.h"

#include <algorithm>

#include "platform/settings_store.h"
#include "platform/text.h"

namespace qv {
namespace {

std::vector<ListColumn> Cols(std::initializer_list<std::pair<const char*, int>> list) {
  std::vector<ListColumn> cols;
  for (const auto& [name, width] : list) cols.push_back({QString::fromLatin1(name), width});
  return cols;
}

std::string Key(const char* format, int n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format, n);
  return buf;
}

}  // namespace

std::span<const DisplayModeInfo> DisplayModes() {
  static const std::vector<DisplayModeInfo> modes = {
      {"LISTDOMDATES", kModeImportantDates, "Display Important Domain Dates", "Important Dates",
       Cols({{"Registry Expiry", 120}, {"Registrar Expiry", 120}, {"Created On", 120},
             {"Last Update", 120}, {"Lookedup", 120}})},
      {"LISTDOMSTATUS", kModeDomainStatus, "Display Domain Status", "Domain Registrar & Status",
       Cols({{"Registrar", 120}, {"Status", 120}, {"Lookedup", 120}, {"Auth Whois", 120}})},
      {"LISTNETDATA", kModeNetworkData, "Display Network Related Data", "Network Related Data",
       Cols({{"IP", 100}, {"NS1", 120}, {"NS2", 120}, {"NS3", 120}, {"NS4", 120}})},
      {"LISTADDRDATA", kModeAddresses, "Display Domain Addresses", nullptr,
       Cols({{"Owner Name", 120}, {"Organization", 120}, {"Address", 120}, {"Country", 80},
             {"Lookedup", 120}})},
      {"LISTEMAILDATA", kModeEmailContacts, "Display Domain Email Contacts", "Contact Emails",
       Cols({{"Admin Email", 100}, {"Tech Email", 100}, {"Lookedup", 120}})},
      {"LISTCUSTMDATA", kModeCustomColumns, "Display custom columns", "Custom Display",
       Cols({{"Status", 120}, {"IP", 120}, {"Registry Expiry", 120}, {"Lookedup", 120}})},
      {"SITELINKPOP", kModeWebVisibility, "Display Site and Link Pop", "Web Visibility",
       Cols({{"Alexa Rank", 120}, {"Google Links", 120}, {"Alexa Links", 120},
             {"MSN Links", 120}, {"Altavista Links", 120}})},
      {"WEBSITEDATA", kModeWebsiteData, "Show Website Data", "Website Data",
       Cols({{"IP", 120}, {"Home Page Status", 120}, {"Home Page Size", 120}})},
      {"HOMEREDIRECTS", kModeHomeRedirects, "Display Home Page Redirection URL",
       "Home Page Redirects", Cols({{"Home Page Status", 120}, {"Redirect URL", 320}})},
  };
  return modes;
}

const DisplayModeInfo* DisplayModeOfCommand(int commandId) {
  for (const DisplayModeInfo& mode : DisplayModes())
    if (mode.commandId == commandId) return &mode;
  return nullptr;
}

QStringList ModeSelectorLabels() {
  QStringList labels;
  for (const DisplayModeInfo& mode : DisplayModes())
    if (mode.selectorLabel) labels << QString::fromLatin1(mode.selectorLabel);
  return labels;
}

std::vector<int> ModeSelectorCommands() {
  std::vector<int> commands;
  for (const DisplayModeInfo& mode : DisplayModes())
    if (mode.selectorLabel) commands.push_back(mode.commandId);
  return commands;
}

std::vector<ListColumn> UserColumns(std::string_view modeCode) {
  std::vector<ListColumn> columns;
  const int size = GetProfileInt(modeCode, "Size", 0);
  for (int i = 1; i <= size; ++i) {
    const std::string name = GetProfileString(modeCode, Key("Column-%d", i), "");
    if (name.empty()) continue;
    columns.push_back({ToQString(name), GetProfileInt(modeCode, Key("Width-%d", i), kDefaultUserColumnWidth)});
  }
  return columns;
}

void WriteUserColumns(std::string_view modeCode, const std::vector<ListColumn>& columns) {
  const int oldSize = GetProfileInt(modeCode, "Size", 0);
  SettingsBatch batch = SettingsBatch::Profile();
  int i = 0;
  for (const ListColumn& column : columns) {
    ++i;
    batch.SetString(modeCode, Key("Column-%d", i), ToStdString(column.name));
    batch.SetInt(modeCode, Key("Width-%d", i), column.width);
  }
  // Entries beyond the new size would come back if "Size" grew again.
  for (int j = i + 1; j <= oldSize; ++j) batch.SetString(modeCode, Key("Column-%d", j), "");
  batch.SetInt(modeCode, "Size", i).Commit();
}

std::vector<ListColumn> ModeColumns(int commandId) {
  std::vector<ListColumn> columns = {{QString::fromLatin1(kRowNumberColumn), kRowNumberWidth},
                                     {QString::fromLatin1(kDomainColumn), kDomainWidth}};
  const DisplayModeInfo* mode = DisplayModeOfCommand(commandId);
  if (!mode) return columns;
  std::vector<ListColumn> rest = UserColumns(mode->code);
  if (rest.empty()) rest = mode->columns;
  columns.insert(columns.end(), rest.begin(), rest.end());
  return columns;
}

QString ColumnHeaderText(const QString& name) {
  if (name.compare(QLatin1String("Alexa Rank"), Qt::CaseInsensitive) == 0) return QStringLiteral("Traffic Rank");
  return name;
}

const QStringList& OfferedColumns() {
  static const QStringList names = {
      "Registry Expiry", "Registrar Expiry", "Created On", "Last Update", "Lookedup",
      "Registrar", "Status", "ID", "Auth Whois", "IP", "NS1", "NS2", "NS3", "NS4",
      "Ping Time", "Admin Email", "Tech Email", "Billing Email", "Owner Name", "Lock",
      "US Tm", "Availability", "Notes-A", "Notes-B", "Notes-C", "Notes-D",
      "Home Page Status", "Home Page Modified", "Home Page Size", "Home Page Bytes",
      "Redirect URL", "Home Page Title", "Home Page Checked At", "SitePop Checked At",
      "Ping Checked At", "US Tm Checked At", "IP Checked At", "Google Links", "Alexa Rank",
      "Alexa Links", "Msn Links", "Altavista Links", "Edited", "Domain"};
  return names;
}

int RememberedColumnWidth(const QString& name, int fallback) {
  if (name.isEmpty()) return fallback;
  const int width = GetProfileInt(kColumnWidthsSection, ToStdString(name), -1);
  return width > 0 ? width : fallback;
}

void RememberColumnWidth(const QString& name, int width) {
  if (name.isEmpty() || width <= 0) return;
  WriteProfileInt(kColumnWidthsSection, ToStdString(name), width);
}

int StoredDisplayMode() { return GetProfileInt(kSettingsSection, kDisplayModeKey, kDefaultDisplayMode); }

void StoreDisplayMode(int commandId) { WriteProfileInt(kSettingsSection, kDisplayModeKey, commandId); }

}  // namespace qv
