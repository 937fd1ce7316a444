#include "app/commands/lookup_commands.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <utility>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/dialogs/auto_scan_settings_dialog.h"
#include "app/dialogs/lookup_dialog.h"
#include "app/dialogs/lookup_settings_dialog.h"
#include "app/docks/quick_lookup_bar.h"
#include "app/main_frame.h"
#include "app/progress.h"
#include "app/view/corvane_view.h"
#include "lookup/change_log.h"
#include "lookup/lookup_engine.h"
#include "lookup/record_update.h"
#include "platform/text.h"
#include "store/add_names.h"
#include "store/name_text.h"

namespace qv {
namespace {

DialogRunner& Runner() {
  static DialogRunner runner;
  return runner;
}

FileOpener& Opener() {
  static FileOpener opener;
  return opener;
}

int RunDialog(QDialog& dialog) { return Runner() ? Runner()(dialog) : dialog.exec(); }

QStringList ListNames(CMainFrame& frame, bool allDomains) {
  CCorvaneView* view = frame.View();
  if (!view) return {};
  return allDomains ? view->AllShownNames() : view->SelectedNames();
}

// The single-kind commands: (Selected Domains), (All Domains) and the kind.
struct KindCommands {
  int selected, all;
  LookupKind kind;
};
constexpr KindCommands kKindCommands[] = {
    {kCmdWhoisSelected, kCmdWhoisAll, LookupKind::Whois},
    {kCmdDnsSelected, kCmdDnsAll, LookupKind::Dns},
    {kCmdPingSelected, kCmdPingAll, LookupKind::Ping},
    {kCmdHttpSelected, kCmdHttpAll, LookupKind::HomePage},
    {kCmdSitePopSelected, kCmdSitePopAll, LookupKind::LinkPopularity},
    {kCmdTmSelected, kCmdTmAll, LookupKind::Trademark},
};

QueueKind QueueOf(LookupKind kind) {
  switch (kind) {
    case LookupKind::Whois: return QueueKind::Whois;
    case LookupKind::Dns: return QueueKind::Dns;
    case LookupKind::Ping: return QueueKind::Ping;
    case LookupKind::HomePage: return QueueKind::HomePage;
    case LookupKind::LinkPopularity: return QueueKind::LinkPopularity;
    case LookupKind::Trademark: return QueueKind::Trademark;
  }
  return QueueKind::Whois;
}

// The dialog leaves out the checks the engine cannot run yet.
void OfferChecks(CLookupDialog& dialog, const LookupEngine& engine) {
  const std::pair<CLookupDialog::Check, QueueKind> checks[] = {
      {CLookupDialog::kPing, QueueKind::Ping},
      {CLookupDialog::kHttp, QueueKind::HomePage},
      {CLookupDialog::kLinkPop, QueueKind::LinkPopularity},
      {CLookupDialog::kUsTm, QueueKind::Trademark},
  };
  for (const auto& [check, kind] : checks) dialog.SetOffered(check, engine.Offers(kind));
}

struct KindInfo {
  const char* progressTitle;
  bool (*queue)(LookupEngine& engine, const std::string& name, bool allDomains);
};

KindInfo InfoOf(LookupKind kind) {
  switch (kind) {
    case LookupKind::Whois:
      return {kWhoisQueueTitle, [](LookupEngine& e, const std::string& n, bool all) {
                return e.QueueWhoisIfDue(n, all ? kWhoisAllGapMinutes : 0);
              }};
    case LookupKind::Dns:
      return {kDnsQueueTitle, [](LookupEngine& e, const std::string& n, bool) { return e.QueueDns(n); }};
    case LookupKind::Ping:
      return {kPingQueueTitle, [](LookupEngine& e, const std::string& n, bool) { return e.QueuePing(n); }};
    case LookupKind::HomePage:
      return {kHomePageQueueTitle,
              [](LookupEngine& e, const std::string& n, bool) { return e.QueueHomePage(n); }};
    case LookupKind::LinkPopularity:
      return {kLinkPopQueueTitle,
              [](LookupEngine& e, const std::string& n, bool) { return e.QueueLinkPopularity(n); }};
    case LookupKind::Trademark:
      return {kTrademarkQueueTitle,
              [](LookupEngine& e, const std::string& n, bool) { return e.QueueTrademark(n); }};
  }
  return {kWhoisQueueTitle, nullptr};
}

void SetLocks(CMainFrame& frame, bool locked) {
  const QStringList names = frame.SelectedNames();
  if (names.isEmpty()) return;
  DomainDatabase& db = frame.Document().Database();
  {
    ProgressWindow progress(&frame, locked ? kLockingTitle : kUnlockingTitle);
    for (int i = 0; i < names.size(); ++i) {
      if (!progress.Advance(i, names.size())) break;
      if (SetLock(db, ToStdString(names[i]), locked) && frame.View()) frame.View()->RefreshRow(names[i]);
    }
  }
  if (locked) frame.UserPrompts().tell(&frame, QString::fromLatin1(kLockedDomainsText));
}

// The names of `text` that the document does not hold yet.
std::vector<std::string> NewNamesOf(DomainDatabase& db, const std::string& text) {
  std::vector<std::string> fresh;
  if (!db.OpenDomainsTable()) return fresh;
  for (const std::string& name : SplitNames(text)) {
    const std::optional<std::string_view> stored = StorableDomainName(name);
    if (stored && !db.update().HasDomain(*stored)) fresh.emplace_back(*stored);
  }
  return fresh;
}

// The names of `text` that the document holds already, as it holds them.
std::vector<std::string> StoredNamesOf(DomainDatabase& db, const std::string& text) {
  std::vector<std::string> stored;
  if (!db.OpenDomainsTable()) return stored;
  for (const std::string& name : SplitNames(text)) {
    const std::optional<std::string_view> usable = StorableDomainName(name);
    if (!usable) continue;
    DomainRecord record;
    if (db.ReadRecord(*usable, record)) stored.push_back(record.Domain());
  }
  return stored;
}

bool DataLogExists() {
  std::error_code error;
  return std::filesystem::exists(ChangeLogPath(), error);
}

}  // namespace

void SetLookupDialogRunnerForTests(DialogRunner runner) { Runner() = std::move(runner); }
void SetFileOpenerForTests(FileOpener opener) { Opener() = std::move(opener); }

void RunLookupAll(CMainFrame& frame, LookupEngine& engine) {
  if (engine.RunBusy()) {
    frame.UserPrompts().tell(&frame, QString::fromLatin1(kLookupsBusyText));
    return;
  }
  CLookupDialog dialog(LookupDialogValues::Load(), &frame);
  OfferChecks(dialog, engine);
  if (RunDialog(dialog) != QDialog::Accepted) return;
  const LookupDialogValues values = dialog.Values();
  values.Save();
  engine.ClearRunSwitches();
  if (!values.AnyCheck()) return;
  const QStringList names = ListNames(frame, values.mode == LookupMode::AllDomains);
  if (names.isEmpty()) {
    frame.UserPrompts().tell(&frame, QString::fromLatin1(kNoEntriesSelectedText));
    return;
  }
  std::vector<std::string> pending;
  pending.reserve(std::size_t(names.size()));
  for (const QString& name : names) pending.push_back(ToStdString(name));
  engine.StartListRun(values.RunOptions(), std::move(pending));
}

void RunSingleKindLookup(CMainFrame& frame, LookupEngine& engine, LookupKind kind,
                         bool allDomains) {
  if (!engine.Offers(QueueOf(kind))) return;
  const QStringList names = ListNames(frame, allDomains);
  if (names.isEmpty()) return;
  const KindInfo info = InfoOf(kind);
  ProgressWindow progress(&frame, info.progressTitle);
  for (int i = 0; i < names.size(); ++i) {
    if (!progress.Advance(i, names.size())) break;
    info.queue(engine, ToStdString(names[i]), allDomains);
  }
  progress.Advance(names.size(), names.size());
}

void RunLookupDomain(CMainFrame& frame, LookupEngine& engine) {
  CCorvaneDoc& doc = frame.Document();
  CQuickLookupBar* bar = frame.QuickLookupBar();
  if (!doc.IsOpen() || !bar) return;
  const QString text = bar->DomainText();
  if (text.isEmpty()) return;
  DomainDatabase& db = doc.Database();
  const std::string typed = ToStdString(text);
  const std::vector<std::string> fresh = NewNamesOf(db, typed);
  const std::vector<std::string> stored = StoredNamesOf(db, typed);
  if (fresh.empty() && stored.empty()) {
    frame.UserPrompts().tell(&frame, QObject::tr("\"%1\" is not a domain name that can be looked up.").arg(text));
    return;
  }
  if (!fresh.empty() && AddNamesFromText(db, typed).added == 0) return;
  doc.RefreshList();
  for (const std::string& name : fresh) engine.QueueWhoisIfDue(name, kQuickLookupGapMinutes);
  // A name the list holds already is shown and looked up again.
  for (const std::string& name : stored) engine.AddToQueue(QueueKind::Whois, name);
  if (!stored.empty() && frame.View()) frame.View()->SelectName(ToQString(stored.front()));
  RememberQuickLookup(*bar->DomainBox(), text);
  // Each check the engine offers (the others are not queued at all).
  for (const std::string& name : fresh)
    for (QueueKind kind : {QueueKind::Dns, QueueKind::Ping, QueueKind::HomePage, QueueKind::LinkPopularity})
      if (engine.Offers(kind)) engine.AddToQueue(kind, name);
}

void RememberQuickLookup(QComboBox& box, const QString& name) {
  for (int i = box.count() - 1; i >= 0; --i)
    if (box.itemText(i).compare(name, Qt::CaseInsensitive) == 0) box.removeItem(i);
  box.insertItem(0, name);
  while (box.count() > kQuickLookupHistoryMax) box.removeItem(box.count() - 1);
  box.setCurrentIndex(0);
}

void RunLockSelected(CMainFrame& frame) { SetLocks(frame, true); }
void RunUnlockSelected(CMainFrame& frame) { SetLocks(frame, false); }

void RunLookupSettings(CMainFrame& frame, LookupEngine& engine) {
  CLookupSettingsDialog dialog(&frame);
  if (RunDialog(dialog) != QDialog::Accepted) return;
  dialog.Save();
  engine.ReloadLookupCount();
  engine.ReloadLookupProtocol();
}

void RunAutoScanSettings(CMainFrame& frame) {
  CMainFrame* f = &frame;
  CAutoScanSettingsDialog dialog(
      [f](QWidget* parent, const QString& text) {
        return int(f->UserPrompts().ask(parent, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
      },
      &frame);
  RunDialog(dialog);  // OK saves the settings; the next idle tick reads them
}

void ToggleMinimumWhoisLookups(CMainFrame& frame, LookupEngine& engine) {
  engine.SetQuickWhoisLookup(!engine.QuickWhoisLookup());
  UpdateLookupCommandStates(frame, engine);
}

void ToggleAuthoritativeWhoisLookup(CMainFrame& frame, LookupEngine& engine) {
  engine.SetFullWhoisData(!engine.FullWhoisData());
  UpdateLookupCommandStates(frame, engine);
}

void RunDomainDataLog(CMainFrame& frame) {
  if (!DataLogExists()) return;
  const QString path = ToQString(ChangeLogPath().string());
  const QUrl url = QUrl::fromLocalFile(path);
  if (Opener() ? Opener()(url) : QDesktopServices::openUrl(url)) return;
  // No program opens text files here: the log is shown in a window of ours,
  // its newest part when it is long.
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    frame.UserPrompts().tell(&frame, QObject::tr("The file %1 could not be read.\r\n%2").arg(path, file.errorString()));
    return;
  }
  constexpr qint64 kShownBytes = 4 << 20;
  const qint64 start = std::max<qint64>(0, file.size() - kShownBytes);
  file.seek(start);
  QString text = ToQString(file.readAll().toStdString());
  if (start > 0) text.prepend(QObject::tr("[The older part of %1 is not shown.]\r\n").arg(path));
  frame.UserPrompts().showText(&frame, QStringLiteral("Domain Data Log"), text);
}

void UpdateLookupCommandStates(CMainFrame& frame, const LookupEngine& engine) {
  if (QAction* a = frame.Action(kCmdMinimumWhois)) a->setChecked(engine.QuickWhoisLookup());
  if (QAction* a = frame.Action(kCmdAuthoritativeWhois)) a->setChecked(engine.FullWhoisData());
  if (QAction* a = frame.Action(kCmdStopLookups)) a->setEnabled(engine.CanStop());
  // A check the engine cannot run yet is not offered.
  for (const KindCommands& k : kKindCommands) {
    const bool offered = engine.Offers(QueueOf(k.kind));
    for (int id : {k.selected, k.all})
      if (QAction* a = frame.Action(id)) a->setEnabled(offered);
  }
  if (QAction* a = frame.Action(kCmdViewDomainDataLog)) a->setEnabled(DataLogExists());
}

void WireLookupCommands(CMainFrame& frame, LookupEngine& engine) {
  CMainFrame* f = &frame;
  LookupEngine* e = &engine;
  f->SetHandler(kCmdLookupAll, [f, e] { RunLookupAll(*f, *e); });
  f->SetHandler(kCmdStopLookups, [f, e] {
    e->StopLookups();
    UpdateLookupCommandStates(*f, *e);
  });
  for (const KindCommands& k : kKindCommands) {
    const LookupKind kind = k.kind;
    f->SetHandler(k.selected, [f, e, kind] { RunSingleKindLookup(*f, *e, kind, false); });
    f->SetHandler(k.all, [f, e, kind] { RunSingleKindLookup(*f, *e, kind, true); });
  }
  if (QAction* a = f->Action(kCmdWhoisSelected)) a->setShortcut(QKeySequence(Qt::Key_F5));
  f->SetHandler(kCmdLookupDomain, [f, e] { RunLookupDomain(*f, *e); });
  f->SetHandler(kCmdLockSelected, [f] { RunLockSelected(*f); });
  f->SetHandler(kCmdUnlockSelected, [f] { RunUnlockSelected(*f); });
  f->SetHandler(kCmdLookupSettings, [f, e] { RunLookupSettings(*f, *e); });
  f->SetHandler(kCmdAutoScanSettings, [f] { RunAutoScanSettings(*f); });
  f->SetHandler(kCmdMinimumWhois, [f, e] { ToggleMinimumWhoisLookups(*f, *e); });
  f->SetHandler(kCmdAuthoritativeWhois, [f, e] { ToggleAuthoritativeWhoisLookup(*f, *e); });
  f->SetHandler(kCmdViewDomainDataLog, [f] { RunDomainDataLog(*f); });

  const auto update = [f, e] { UpdateLookupCommandStates(*f, *e); };
  for (QAction* menuAction : f->menuBar()->actions())
    if (QMenu* menu = menuAction->menu()) QObject::connect(menu, &QMenu::aboutToShow, e, update);
  if (QMenu* menu = f->ListContextMenu()) QObject::connect(menu, &QMenu::aboutToShow, e, update);
  QObject::connect(e, &LookupEngine::statusChanged, f, update);
  update();
}

}  // namespace qv
