#include "app/menus.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/command_ids.h"

namespace qv {
namespace {

std::vector<CommandEntry> LetterCommands() {
  // The letter texts live in static storage so CommandEntry can point at them.
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> t;
    for (char c = 'A'; c <= 'Z'; ++c)
      t.push_back(std::string("List Domains that start with '") + c + "'");
    return t;
  }();
  std::vector<CommandEntry> entries;
  for (int i = 0; i < 26; ++i) entries.push_back({kCmdListLetterA + i, texts[i].c_str()});
  return entries;
}

std::vector<CommandEntry> BuildEntries() {
  std::vector<CommandEntry> s = {
      {kCmdLookupDomain, "Lookup Domain"},
      // File
      {kCmdFileNew, "&New"},
      {kCmdFileOpen, "&Open..."},
      {kCmdFileClose, "&Close"},
      {kCmdBackupCompact, "&Backup && Compact..."},
      {kCmdRecentFile1, "&1"},
      {kCmdRecentFile2, "&2"},
      {kCmdRecentFile3, "&3"},
      {kCmdRecentFile4, "&4"},
      {kCmdMinimizeToTray, "Minimize to &Tray"},
      {kCmdOpenInTrayAtStartup, "Open in Tray at &Startup", true},
      {kCmdOpenLastDocAtStartup, "Open &Last Document at Startup", true},
      {kCmdExit, "E&xit"},
      // Edit
      {kCmdEditCopy, "&Copy"},
      {kCmdTldList, "&Top Level Domain List..."},
      {kCmdDomainLookupSetup, "&Domain Lookup..."},
      {kCmdWhoisServerSetup, "&Whois Server..."},
      {kCmdStringTokens, "&String Tokens..."},
      {kCmdResetWhoisServer, "&Reset Whois Server Settings..."},
      {kCmdWhoisTextSearch, "Whois &Text Search..."},
      {kCmdDomainTableColumns, "Domain Table &Columns..."},
      {kCmdColorsFonts, "Domain Table Colors && &Fonts..."},
      {kCmdExpiryHighlight, "E&xpiry Date Highlight Settings..."},
      {kCmdTaggedEmailList, "Ta&gged Email List..."},
      {kCmdEmailAlertSettings, "Email &Alert Settings..."},
      {kCmdLookupSettings, "DNS && Whois &Lookup Settings..."},
      {kCmdInvalidIpList, "&Invalid IP Address List..."},
      {kCmdDomainNotes, "Domain &Notes..."},
      {kCmdDomainProperties, "Domain &Properties..."},
      {kCmdAdditionalGroups, "Additional Domain &Groups..."},
      {kCmdEditDomainGroups, "&Edit Domain Groups..."},
      {kCmdDomainManagementSettings, "Domain &Management Settings..."},
      {kCmdExtraSettings, "Extra S&ettings..."},
      {kCmdLogWhoisToDisk, "Log &Whois Output to Disk..."},
      {kCmdAutoScanSettings, "A&uto Scan Settings..."},
      // View
      {kCmdViewToolbar, "&Main Toolbar", true},
      {kCmdViewLookupQueueBar, "&Lookup Queue Bar", true},
      {kCmdViewQuickLookupBar, "&Quick Lookup Bar", true},
      {kCmdViewDomainNamesBar, "&Domain Names Bar", true},
      {kCmdViewStatusBar, "&Status Bar", true},
      {kCmdModeDomainDates, "Domain &Dates", true},
      {kCmdModeDomainStatus, "Domain S&tatus", true},
      {kCmdModeNetwork, "&Network Related", true},
      {kCmdModeWebsiteData, "&Website Data", true},
      {kCmdModeHomeRedirects, "&Home Page Redirects", true},
      {kCmdModeWebVisibility, "Web &Visibility", true},
      {kCmdModeEmails, "Domain &Emails", true},
      {kCmdModeCustom, "&Custom Columns", true},
      {kCmdModeAddresses, "Domain &Addresses", true},
      {kCmdModeDomainRecords, "Domain &Records", true},
      {kCmdViewRawWhois, "&Raw Whois Data", true},
      {kCmdViewDomainDataLog, "Domain Data &Log"},
      // Domain List
      {kCmdCreateSimpleNames, "&Create Simple Domain Names..."},
      {kCmdImportLargeTextFile, "&Import From Large Text File..."},
      {kCmdNamesFromKeywords, "Create Names from &Keywords..."},
      {kCmdNamesFromTemplates, "Create Names from &Templates..."},
      {kCmdNamesAfterFiltering, "Add Names After &Filtering A List..."},
      {kCmdDeleteSelected, "&Delete Selected Domains"},
      {kCmdExportSelectedRows, "Export &Selected Rows..."},
      {kCmdExportFullTable, "Export F&ull Table..."},
      {kCmdExportRawWhois, "Export the &Entire Raw Whois Data..."},
      {kCmdCopyAvailableNames, "Copy all available names to clipboard"},
      {kCmdExportAvailableNames, "Export All &Available Names..."},
      {kCmdListAll, "List All Domains"},
      {kCmdListDigits, "List Domains that start with numbers"},
      {kCmdSortNameWise, "Sort Domain &Name Wise"},
      {kCmdSortTldWise, "TLD &Wise Sort"},
      {kCmdAlwaysSortAscending, "Always Sort in &Ascending Order", true},
      {kCmdLockSortingOrder, "Lock Sorting &Order", true},
      {kCmdFindDomain, "&Find Domain..."},
      {kCmdSqlDisplayFilter, "SQL &Display Filter..."},
      {kCmdDatabaseSetup, "Data&base Setup..."},
      // Lookup
      {kCmdLookupAll, "Lookup &All (with options)..."},
      {kCmdStopLookups, "&Stop Lookups"},
      {kCmdSqlLookupFilter, "SQL &Lookup Filter..."},
      {kCmdWhoisSelected, "&Whois Lookup (Selected Domains)"},
      {kCmdWhoisAll, "Whois Lookup (All Domains)"},
      {kCmdDnsSelected, "&DNS Check (Selected Domains)"},
      {kCmdDnsAll, "DNS Check (All Domains)"},
      {kCmdPingSelected, "&Ping Check (Selected Domains)"},
      {kCmdPingAll, "Ping Check (All Domains)"},
      {kCmdTmSelected, "&US Tm Check (Selected Domains)"},
      {kCmdTmAll, "US Tm Check (All Domains)"},
      {kCmdHttpSelected, "&Http Page Test (Selected Domains)"},
      {kCmdHttpAll, "Http Page Test (All Domains)"},
      {kCmdSitePopSelected, "Site P&op Check (Selected Domains)"},
      {kCmdSitePopAll, "Site Pop Check (All Domains)"},
      {kCmdImportTrafficRanks, "Import Traffic &Ranks..."},
      {kCmdSitePopSettings, "Site P&op Settings..."},
      {kCmdMinimumWhois, "Do &Minimum Whois Lookups", true},
      {kCmdAuthoritativeWhois, "Do Au&thoritative Whois Lookup", true},
      // Tools
      {kCmdWhoisTool, "&Popup Whois Tool..."},
      {kCmdNormalizeDatabase, "&Update Database Fields"},
      {kCmdRepairDatabase, "&Repair && Compact Database..."},
      // Help
      {kCmdHelpContents, "Help &Topics"},
      {kCmdHelpWebSite, "Quorvel &Home Page"},
      {kCmdCheckForUpdates, "Check For &Updates..."},
      {kCmdAbout, "&About Quorvel..."},
      // List context menu
      {kCmdSelectNone, "Select &None"},
      {kCmdCopySelectedNames, "Copy Selected Names"},
      {kCmdCopyAllNames, "Copy All Names"},
      {kCmdCopySelectedRows, "Copy Selected Rows"},
      {kCmdCopyFullTable, "Copy the Table"},
      {kCmdLockSelected, "&Lock All Selected Domains"},
      {kCmdUnlockSelected, "U&nlock All Selected Domains"},
      {kCmdGroupSelected, "&Group Selected Domains..."},
      {kCmdUngroupSelected, "Ungroup Selected Domains..."},
      {kCmdBrowseWebsite, "&Browse Website"},
      {kCmdOpenTmSite, "Open US Tm Site in Browser"},
      {kCmdEditRegistrarAlias, "Edit Registrar &Alias..."},
      {kCmdSendSelectedToNamePad, "Send Selected Names to Domain Names Bar"},
      {kCmdSendAllToNamePad, "Send All Names to Domain Names Bar"},
      // "Domain Names" bar
      {kCmdPadDeleteSelected, "Delete Selected Names"},
      {kCmdPadDeleteAll, "Delete All Domain Names"},
      {kCmdPadCopySelected, "Copy Selected Names"},
      {kCmdPadCopyAll, "Copy All Names"},
      {kCmdPadRefresh, "Refresh"},
      // Notification-area icon
      {kCmdTrayRestore, "&Restore..."},
      {kCmdTrayExit, "&Exit"},
  };
  const std::vector<CommandEntry> letters = LetterCommands();
  s.insert(s.end(), letters.begin(), letters.end());
  return s;
}

void Add(QMenu* menu, const QHash<int, QAction*>& actions, std::initializer_list<int> ids) {
  for (int id : ids) {
    if (id == kCmdNone)
      menu->addSeparator();
    else
      menu->addAction(actions.value(id));
  }
}

// A second entry with its own text for an existing command: it runs the
// command and follows its enabled state.
QAction* MakeAlias(QObject* parent, QAction* original, const QString& text) {
  auto* alias = new QAction(text, parent);
  alias->setData(original->data());
  alias->setEnabled(original->isEnabled());
  QObject::connect(alias, &QAction::triggered, original, &QAction::trigger);
  QObject::connect(original, &QAction::changed, alias,
                   [alias, original] { alias->setEnabled(original->isEnabled()); });
  return alias;
}

constexpr int S = kCmdNone;  // a separator in the menu lists below

void BuildFileMenu(QMenu* m, const QHash<int, QAction*>& a) {
  Add(m, a, {kCmdFileNew, kCmdFileOpen, kCmdFileClose, S, kCmdBackupCompact, S, kCmdRecentFile1, kCmdRecentFile2,
             kCmdRecentFile3, kCmdRecentFile4, S, kCmdMinimizeToTray, kCmdOpenInTrayAtStartup,
             kCmdOpenLastDocAtStartup, S, kCmdExit});
}

void BuildEditMenu(QMenu* m, const QHash<int, QAction*>& a) {
  Add(m, a, {kCmdEditCopy, S, kCmdTldList});
  QMenu* extraction = m->addMenu(QObject::tr("Data &Extraction Settings"));
  Add(extraction, a,
      {kCmdDomainLookupSetup, kCmdWhoisServerSetup, kCmdStringTokens, kCmdWhoisTextSearch, S,
       kCmdResetWhoisServer});
  Add(m, a, {S, kCmdDomainTableColumns, kCmdColorsFonts, kCmdExpiryHighlight, S,
             kCmdTaggedEmailList, kCmdEmailAlertSettings, S, kCmdLookupSettings, kCmdSitePopSettings,
             kCmdInvalidIpList, S, kCmdDomainNotes, kCmdDomainProperties, S, kCmdAdditionalGroups,
             kCmdEditDomainGroups, S, kCmdDomainManagementSettings, kCmdExtraSettings,
             kCmdLogWhoisToDisk, kCmdAutoScanSettings});
}

void BuildViewMenu(QMenu* m, const QHash<int, QAction*>& a) {
  Add(m, a, {kCmdViewToolbar, kCmdViewLookupQueueBar, kCmdViewQuickLookupBar,
             kCmdViewDomainNamesBar, kCmdViewStatusBar, S});
  for (int id : ViewMenuDisplayModes()) m->addAction(a.value(id));
  Add(m, a, {S, kCmdViewRawWhois, kCmdDomainProperties, S, kCmdViewDomainDataLog});
}

void BuildDomainListMenu(QMenu* m, const QHash<int, QAction*>& a) {
  Add(m, a, {kCmdCreateSimpleNames, kCmdImportLargeTextFile, kCmdNamesFromKeywords,
             kCmdNamesFromTemplates, kCmdNamesAfterFiltering, S, kCmdDeleteSelected, S,
             kCmdExportSelectedRows, kCmdExportFullTable, kCmdExportRawWhois,
             kCmdCopyAvailableNames, kCmdExportAvailableNames, S});
  QMenu* lists = m->addMenu(QObject::tr("&List Domains"));
  Add(lists, a, {kCmdListAll, kCmdListDigits, S});
  for (int id = kCmdListLetterA; id <= kCmdListLetterZ; ++id) lists->addAction(a.value(id));
  Add(m, a, {kCmdSortNameWise, kCmdSortTldWise, kCmdAlwaysSortAscending, kCmdLockSortingOrder,
             kCmdFindDomain, S, kCmdSqlDisplayFilter, kCmdDatabaseSetup});
}

void BuildLookupMenu(QMenu* m, const QHash<int, QAction*>& a) {
  Add(m, a, {kCmdLookupAll, kCmdStopLookups, kCmdSqlLookupFilter, S, kCmdWhoisSelected,
             kCmdWhoisAll, S, kCmdDnsSelected, kCmdDnsAll, S, kCmdPingSelected, kCmdPingAll, S,
             kCmdTmSelected, kCmdTmAll, S, kCmdHttpSelected, kCmdHttpAll, S, kCmdSitePopSelected,
             kCmdSitePopAll, kCmdImportTrafficRanks, S, kCmdMinimumWhois, kCmdAuthoritativeWhois});
}

void BuildHelpMenu(QMenu* m, const QHash<int, QAction*>& a) {
  Add(m, a, {kCmdHelpContents});
  QMenu* links = m->addMenu(QObject::tr("Quorvel on the &Web"));
  Add(links, a, {kCmdHelpWebSite});
  Add(m, a, {kCmdCheckForUpdates, S, kCmdAbout});
}

}  // namespace

const std::vector<CommandEntry>& CommandEntries() {
  static const std::vector<CommandEntry> entries = BuildEntries();
  return entries;
}

const std::vector<int>& LaterCommands() {
  static const std::vector<int> ids = {
      // No web site and no update service: these stay disabled for good.
      kCmdHelpWebSite, kCmdCheckForUpdates};
  return ids;
}

bool IsWritingCommand(int commandId) {
  static const std::vector<int> ids = {
      kCmdCreateSimpleNames, kCmdImportLargeTextFile, kCmdNamesFromKeywords, kCmdNamesFromTemplates,
      kCmdNamesAfterFiltering, kCmdDeleteSelected, kCmdLookupAll, kCmdSqlLookupFilter, kCmdWhoisSelected,
      kCmdWhoisAll, kCmdDnsSelected, kCmdDnsAll, kCmdPingSelected, kCmdPingAll, kCmdTmSelected,
      kCmdTmAll, kCmdHttpSelected, kCmdHttpAll, kCmdSitePopSelected, kCmdSitePopAll, kCmdLookupDomain,
      kCmdNormalizeDatabase, kCmdAdditionalGroups, kCmdLockSelected, kCmdUnlockSelected,
      kCmdGroupSelected, kCmdUngroupSelected, kCmdDomainNotes, kCmdExtraSettings, kCmdEditDomainGroups,
      kCmdImportTrafficRanks};
  return std::find(ids.begin(), ids.end(), commandId) != ids.end();
}

const std::vector<ToolbarButton>& ToolbarButtons() {
  static const std::vector<ToolbarButton> buttons = {
      {kCmdFileNew, "New"},          {kCmdFileOpen, "Open"},
      {kCmdCreateSimpleNames, "Add"}, {kCmdImportLargeTextFile, "Import"},
      {kCmdDeleteSelected, "Delete"}, {kCmdLookupAll, "Lookup"},
      {kCmdStopLookups, "Stop"},      {kCmdSqlDisplayFilter, "Setup"},
      {kCmdSqlLookupFilter, "SQL Lookup"}, {kCmdDatabaseSetup, "Database"},
  };
  return buttons;
}

const std::vector<int>& ViewMenuDisplayModes() {
  static const std::vector<int> ids = {
      kCmdModeDomainDates,   kCmdModeDomainStatus,  kCmdModeNetwork,
      kCmdModeWebsiteData,   kCmdModeHomeRedirects, kCmdModeWebVisibility,
      kCmdModeEmails,        kCmdModeCustom,        kCmdModeAddresses,
      kCmdModeDomainRecords};
  return ids;
}

QHash<int, QAction*> CreateActions(QObject* parent) {
  QHash<int, QAction*> actions;
  for (const CommandEntry& entry : CommandEntries()) {
    auto* action = new QAction(QString::fromUtf8(entry.text), parent);
    action->setCheckable(entry.checkable);
    action->setEnabled(false);
    action->setData(entry.id);
    actions.insert(entry.id, action);
  }
  auto* modes = new QActionGroup(parent);
  for (int id : ViewMenuDisplayModes()) modes->addAction(actions.value(id));
  return actions;
}

void BuildMenuBar(QMenuBar* bar, const QHash<int, QAction*>& actions) {
  BuildFileMenu(bar->addMenu(QObject::tr("&File")), actions);
  BuildEditMenu(bar->addMenu(QObject::tr("&Edit")), actions);
  BuildViewMenu(bar->addMenu(QObject::tr("&View")), actions);
  BuildDomainListMenu(bar->addMenu(QObject::tr("&Domain List")), actions);
  BuildLookupMenu(bar->addMenu(QObject::tr("&Lookup")), actions);
  QMenu* tools = bar->addMenu(QObject::tr("&Tools"));
  Add(tools, actions, {kCmdWhoisTool, S, kCmdNormalizeDatabase, kCmdRepairDatabase});
  BuildHelpMenu(bar->addMenu(QObject::tr("&Help")), actions);
  for (int id = kCmdRecentFile1; id <= kCmdRecentFile4; ++id) actions.value(id)->setVisible(false);
}

QMenu* BuildListContextMenu(QWidget* parent, const QHash<int, QAction*>& a) {
  auto* menu = new QMenu(parent);
  Add(menu, a, {kCmdSelectNone, S});
  QMenu* copy = menu->addMenu(QObject::tr("&Copy to clipboard"));
  Add(copy, a, {kCmdCopySelectedNames, kCmdCopyAllNames, kCmdCopySelectedRows, kCmdCopyFullTable});
  Add(menu, a, {S, kCmdWhoisSelected, kCmdDnsSelected, kCmdPingSelected, kCmdHttpSelected,
                kCmdSitePopSelected, kCmdTmSelected, S, kCmdLockSelected, kCmdUnlockSelected, S,
                kCmdDomainNotes, S, kCmdGroupSelected, kCmdUngroupSelected, kCmdEditDomainGroups,
                S, kCmdColorsFonts, kCmdDomainTableColumns, kCmdDomainLookupSetup, S,
                kCmdBrowseWebsite, kCmdOpenTmSite, S});
  menu->addAction(
      MakeAlias(menu, a.value(kCmdDomainProperties), QObject::tr("&Properties && Edit Dates...")));
  Add(menu, a, {kCmdEditRegistrarAlias, S, kCmdSendSelectedToNamePad, kCmdSendAllToNamePad});
  return menu;
}

void FillToolBar(QToolBar* toolbar, const QHash<int, QAction*>& actions) {
  toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  // Each button shows its short label; the menu keeps the long text.
  for (const ToolbarButton& button : ToolbarButtons()) {
    QAction* original = actions.value(button.id);
    QAction* alias = MakeAlias(toolbar, original, QString::fromUtf8(button.label));
    alias->setToolTip(original->text().remove(QLatin1Char('&')));
    toolbar->addAction(alias);
  }
}

}  // namespace qv
