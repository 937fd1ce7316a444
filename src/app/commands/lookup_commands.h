// The commands with which the user asks for lookups: "Lookup All (with
// options)...", the single-kind commands for the selected or all domains,
// "Lookup Domain" of the quick lookup bar, locking and unlocking, the lookup
// settings, the two whois switches, Stop and "Domain Data Log". They only fill
// the engine's queues and its run; the scheduler tick does the rest.
//
// The main window owns the engine; each entry point takes both.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class CMainFrame;
class QComboBox;
class QDialog;
class QUrl;

namespace qv {

class LookupEngine;

// Messages.
inline constexpr const char* kLookupsBusyText =
    "Lookups are currently being processed.\r\n\r\nYou may use the Stop button to cancel the "
    "current\r\nlookup processing";
inline constexpr const char* kNoEntriesSelectedText =
    "No entries were selected in the domain list view.";
inline constexpr const char* kLockedDomainsText =
    "The data for selected domains are now write protected.\r\nLookups will not be performed for "
    "these domains untill\r\nthese domains are unlocked.\r\n\r\nPlease note that lock/unlock "
    "function within the software\r\nis *NOT same as* registrar-lock.";

// Progress window titles.
inline constexpr const char* kWhoisQueueTitle = "Adding to Whois Lookup Queue";
inline constexpr const char* kDnsQueueTitle = "Adding to DNS Lookup Queue";
inline constexpr const char* kPingQueueTitle = "Adding to Ping Queue";
inline constexpr const char* kHomePageQueueTitle = "Adding to Page Check Queue";
inline constexpr const char* kLinkPopQueueTitle = "Adding to Site Pop Check Queue";
inline constexpr const char* kTrademarkQueueTitle = "Adding to Lookup Queue";
inline constexpr const char* kLockingTitle = "Locking Domains";
inline constexpr const char* kUnlockingTitle = "Unlocking Domains";

// Whois Lookup (All Domains) skips names checked within this many minutes;
// Lookup Domain within this many.
inline constexpr int kWhoisAllGapMinutes = 1440;
inline constexpr int kQuickLookupGapMinutes = 720;
// The quick lookup bar remembers this many names.
inline constexpr int kQuickLookupHistoryMax = 100;

// The kinds of the single-kind commands.
enum class LookupKind { Whois, Dns, Ping, HomePage, LinkPopularity, Trademark };

// --- Entry points ----------------------------------------------------------------

// "Lookup All (with options)...": refused while a run is busy; the "Lookup"
// dialog, then a list-source run over the chosen names.
void RunLookupAll(CMainFrame& frame, LookupEngine& engine);
// A single-kind command: the selected rows, or every name of the list, into
// one queue through that queue's filter, under a progress window.
void RunSingleKindLookup(CMainFrame& frame, LookupEngine& engine, LookupKind kind,
                         bool allDomains);
// "Lookup Domain": adds the quick lookup bar's name to the document and, when
// it is new, queues it for whois, DNS, ping, home page and link popularity.
void RunLookupDomain(CMainFrame& frame, LookupEngine& engine);
// "Lock All Selected Domains" / "Unlock All Selected Domains".
void RunLockSelected(CMainFrame& frame);
void RunUnlockSelected(CMainFrame& frame);
// "DNS & Whois Lookup Settings": the "Lookup Settings" dialog; the engine
// takes the new count at once.
void RunLookupSettings(CMainFrame& frame, LookupEngine& engine);
// "Auto Scan Settings...": the "Auto Lookup Settings" dialog.
void RunAutoScanSettings(CMainFrame& frame);
// The menu switches "Do Minimum Whois Lookups" and "Do Authoritative Whois
// Lookup" (written to the settings).
void ToggleMinimumWhoisLookups(CMainFrame& frame, LookupEngine& engine);
void ToggleAuthoritativeWhoisLookup(CMainFrame& frame, LookupEngine& engine);
// "Domain Data Log": opens the change log with the program the desktop uses
// for text files. Does nothing while the file does not exist.
void RunDomainDataLog(CMainFrame& frame);

// Checked states of the two switches, Stop's and "Domain Data Log"'s enabled
// states.
void UpdateLookupCommandStates(CMainFrame& frame, const LookupEngine& engine);

// Connects every command above (and Stop, and F5 for Whois Lookup (Selected
// Domains)) to the frame's actions, and keeps their states current when a
// menu opens and when the engine's state changes.
void WireLookupCommands(CMainFrame& frame, LookupEngine& engine);

// --- Pieces, also for tests --------------------------------------------------------

// Puts `name` first in the box's drop-down list (an equal entry, in any
// capitals, is removed first), keeps at most kQuickLookupHistoryMax entries
// and selects it.
void RememberQuickLookup(QComboBox& box, const QString& name);

// How dialogs are run (tests answer them); the default is QDialog::exec.
using DialogRunner = std::function<int(QDialog& dialog)>;
void SetLookupDialogRunnerForTests(DialogRunner runner);
// How the change log is opened (tests watch it); the default is
// QDesktopServices::openUrl.
using FileOpener = std::function<bool(const QUrl& url)>;
void SetFileOpenerForTests(FileOpener opener);

}  // namespace qv
