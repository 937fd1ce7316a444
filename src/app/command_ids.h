// The numeric identifiers of every command of the main window: the main menu,
// the toolbar, the list's context menu, the "Domain Names" bar's own menu and
// the notification-area icon. A command is one QAction of CMainFrame, found
// with CMainFrame::Action(id); the owner of a command connects its slot there.
//
// Identifiers that other parts of the program already know (the display
// modes, the letter lists, "Lookup Domain") keep their numbers.
#pragma once

#include "store/list_modes.h"

namespace qv {

enum CommandId : int {
  kCmdNone = 0,

  // --- Quick lookup bar ------------------------------------------------------
  kCmdLookupDomain = 1001,

  // --- Display modes (stored in "Domain List Mode" as these numbers) ---------
  kCmdModeDomainDates = 32781,      // "Display Important Domain Dates"
  kCmdModeDomainRecords = 32782,    // "Display Domain Records" (only # and Domain)
  kCmdModeAddresses = 32783,        // "Display Domain Addresses"
  kCmdModeDomainStatus = 32784,     // "Display Domain Status"
  kCmdModeNetwork = 32786,          // "Display Network Related Data"
  kCmdModeEmails = 32802,           // "Display Domain Email Contacts"
  kCmdModeCustom = 32830,           // "Display custom columns"
  kCmdModeWebVisibility = 32863,    // "Display Site and Link Pop"
  kCmdModeWebsiteData = 32864,      // "Show Website Data"
  kCmdModeHomeRedirects = 33818,    // "Display Home Page Redirection URL"

  // --- Letter lists -------------------------------------------------------
  kCmdListLetterA = kListLetterFirstCommand,  // 'A' .. 'Z' are consecutive
  kCmdListLetterZ = kListLetterLastCommand,
  kCmdListDigits = kListDigitsCommand,
  kCmdListAll = kListAllCommand,

  // --- File -------------------------------------------------------------------
  kCmdFileNew = 34000,
  kCmdFileOpen,
  kCmdFileClose,
  kCmdBackupCompact,
  kCmdRecentFile1,  // .. kCmdRecentFile4 are consecutive
  kCmdRecentFile2,
  kCmdRecentFile3,
  kCmdRecentFile4,
  kCmdMinimizeToTray,
  kCmdOpenInTrayAtStartup,
  kCmdOpenLastDocAtStartup,
  kCmdExit,

  // --- Edit -------------------------------------------------------------------
  kCmdEditCopy = 34100,
  kCmdTldList,
  kCmdDomainLookupSetup,      // Data Extraction Settings > Domain Lookup ("Domain Setup")
  kCmdWhoisServerSetup,       // Data Extraction Settings > Whois Server
  kCmdStringTokens,           // Data Extraction Settings > String Tokens
  kCmdResetWhoisServer,       // Data Extraction Settings > reset of the edited records
  kCmdWhoisTextSearch,        // Data Extraction Settings > "Whois Text Search Settings"
  kCmdDomainTableColumns,     // "Configure List Columns..."
  kCmdColorsFonts,            // "Setup colors and fonts"
  kCmdExpiryHighlight,
  kCmdTaggedEmailList,
  kCmdEmailAlertSettings,
  kCmdLookupSettings,         // "DNS & Whois Lookup Settings"
  kCmdInvalidIpList,
  kCmdDomainNotes,
  kCmdDomainProperties,
  kCmdAdditionalGroups,
  kCmdEditDomainGroups,
  kCmdDomainManagementSettings,
  kCmdExtraSettings,
  kCmdLogWhoisToDisk,
  kCmdAutoScanSettings,

  // --- View -------------------------------------------------------------------
  kCmdViewToolbar = 34200,
  kCmdViewLookupQueueBar,
  kCmdViewQuickLookupBar,
  kCmdViewDomainNamesBar,
  kCmdViewStatusBar,
  kCmdViewRawWhois,
  kCmdViewDomainDataLog,

  // --- Domain List --------------------------------------------------------------
  kCmdCreateSimpleNames = 34300,
  kCmdImportLargeTextFile,
  kCmdNamesFromKeywords,
  kCmdNamesFromTemplates,
  kCmdNamesAfterFiltering,
  kCmdDeleteSelected,
  kCmdExportSelectedRows,
  kCmdExportFullTable,
  kCmdExportRawWhois,
  kCmdCopyAvailableNames,
  kCmdExportAvailableNames,
  kCmdSortNameWise,
  kCmdSortTldWise,
  kCmdAlwaysSortAscending,
  kCmdLockSortingOrder,
  kCmdFindDomain,
  kCmdSqlDisplayFilter,       // toolbar "Setup"
  kCmdDatabaseSetup,          // toolbar "Database"

  // --- Lookup -----------------------------------------------------------------
  kCmdLookupAll = 34400,
  kCmdStopLookups,
  kCmdSqlLookupFilter,        // toolbar "SQL Lookup"
  kCmdWhoisSelected,
  kCmdWhoisAll,
  kCmdDnsSelected,
  kCmdDnsAll,
  kCmdPingSelected,
  kCmdPingAll,
  kCmdTmSelected,
  kCmdTmAll,
  kCmdHttpSelected,
  kCmdHttpAll,
  kCmdSitePopSelected,
  kCmdSitePopAll,
  kCmdMinimumWhois,           // "Do Minimum Whois Lookups" (switch)
  kCmdAuthoritativeWhois,     // "Do Authoritative Whois Lookup" (switch)

  // --- Tools ------------------------------------------------------------------
  kCmdWhoisTool = 34500,
  kCmdNormalizeDatabase,      // "Update Database Fields"
  kCmdRepairDatabase,         // "Repair & Compact Database"

  // --- Help -------------------------------------------------------------------
  kCmdHelpContents = 34600,
  kCmdHelpWebSite,
  kCmdCheckForUpdates,
  kCmdAbout,

  // --- List context menu ----------------------------------------------------------
  kCmdSelectNone = 34700,
  kCmdCopySelectedNames,
  kCmdCopyAllNames,
  kCmdCopySelectedRows,
  kCmdCopyFullTable,
  kCmdLockSelected,
  kCmdUnlockSelected,
  kCmdGroupSelected,
  kCmdUngroupSelected,
  kCmdBrowseWebsite,
  kCmdOpenTmSite,
  kCmdEditRegistrarAlias,
  kCmdSendSelectedToNamePad,
  kCmdSendAllToNamePad,

  // --- "Domain Names" bar ---------------------------------------------------------
  kCmdPadDeleteSelected = 34800,
  kCmdPadDeleteAll,
  kCmdPadCopySelected,
  kCmdPadCopyAll,
  kCmdPadRefresh,

  // --- Notification-area icon -----------------------------------------------------
  kCmdTrayRestore = 34900,
  kCmdTrayExit,

  // --- Link popularity and traffic ranks ------------------------------------------
  kCmdSitePopSettings = 35000,  // Edit > "Site Pop Settings..."
  kCmdImportTrafficRanks,       // Lookup > "Import Traffic Ranks..."
};

}  // namespace qv
