#include "app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/command_ids.h"
#include "app/commands/dialog_commands.h"
#include "app/commands/file_commands.h"
#include "app/docks/busy_indicator.h"
#include "app/docks/domain_names_bar.h"
#include "app/docks/lookup_list_bar.h"
#include "app/docks/quick_lookup_bar.h"
#include "app/exit_marker.h"
#include "app/help/help_window.h"
#include "app/main_frame_wiring.h"
#include "app/menus.h"
#include "app/tray_icon.h"
#include "app/view/big_list_view.h"
#include "app/view/corvane_view.h"
#include "app/web_check_wiring.h"
#include "lookup/alert_mailer.h"
#include "lookup/lookup_engine.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck/web_checks.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "store/list_modes.h"
#include "store/list_query.h"
#include "store/sort_list.h"

namespace {

using qv::kSettingsSection;

constexpr const char* kEnableAutoDocLoad = "Enable Auto DocLoad";
constexpr const char* kMinimizeAtStartup = "Minimize At Startup";
constexpr const char* kDialogBarVisible = "Dialog Bar Visible";
constexpr const char* kViewMode = "View Mode";
constexpr const char* kAlwaysSortAscending = "Always Sort Ascending";
constexpr const char* kLockSortingOrder = "Lock Sorting Order";

// Show states of the stored placement, as the placement format numbers them.
constexpr unsigned kShowNormal = 1;
constexpr unsigned kShowMinimized = 2;
constexpr unsigned kShowMaximized = 3;

int Setting(const char* key, int defaultValue) {
  return qv::GetProfileInt(kSettingsSection, key, defaultValue);
}

// A letter typed with Caps Lock on comes in upper case without Shift (or in
// lower case with it).
bool CapsLockFromKey(const QKeyEvent* key, bool current) {
  if (key->key() == Qt::Key_CapsLock) return !current;
  const QString text = key->text();
  if (text.size() != 1 || !text[0].isLetter() || text[0].isUpper() == text[0].isLower())
    return current;
  const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
  return text[0].isUpper() != shift;
}

// The Delete key runs `command` only while `widget` has the focus, so it
// deletes from the list the user is looking at.
void BindDeleteKey(QWidget* widget, QAction* command) {
  auto* key = new QAction(widget);
  key->setShortcut(QKeySequence::Delete);
  key->setShortcutContext(Qt::WidgetShortcut);
  widget->addAction(key);
  QObject::connect(key, &QAction::triggered, command, &QAction::trigger);
}

}  // namespace

CMainFrame::CMainFrame(const qv::StartUpOptions& options, QWidget* parent)
    : QMainWindow(parent),
      prompts_(options.prompts ? *options.prompts : qv::DefaultPrompts()),
      exitMarker_(options.exitMarker) {
  setObjectName(QStringLiteral("MainFrame"));
  setAcceptDrops(true);
  viewMode_ = Setting(kViewMode, 1);
  resize(1000, 700);

  BuildCommands();
  BuildView();
  BuildToolBar();
  BuildDocks();
  BuildStatusBar();
  BuildTray();
  BuildEngine();
  WireOwnCommands();
  qv::WireOtherCommands(*this);
  UpdateCommandStates();

  connect(&doc_, &CCorvaneDoc::documentChanged, this, &CMainFrame::UpdateTitle);
  connect(&doc_, &CCorvaneDoc::listFailed, this, &CMainFrame::ShowListError);
  qApp->installEventFilter(this);
  timerId_ = startTimer(kTimerPeriodMs);
  if (Setting(kMinimizeAtStartup, 0) != 0)
    QMetaObject::invokeMethod(Action(qv::kCmdMinimizeToTray), &QAction::trigger,
                              Qt::QueuedConnection);
  UpdateTitle();
  StartUp(options);
}

CMainFrame::~CMainFrame() {
  qApp->removeEventFilter(this);
  // Mails still going out are waited for; results still on their way find
  // no engine and are dropped.
  mailer_.reset();
  engine_.reset();
  // The view reads the document while it goes; let it go first.
  delete view_;
  view_ = nullptr;
}

// --- Building -----------------------------------------------------------------

void CMainFrame::BuildCommands() {
  actions_ = qv::CreateActions(this);
  qv::BuildMenuBar(menuBar(), actions_);
  for (QAction* menuAction : menuBar()->actions())
    if (QMenu* menu = menuAction->menu())
      connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
  addActions(actions_.values());  // shortcuts work while the menus are closed
  Action(qv::kCmdFileNew)->setShortcut(QKeySequence::New);
  Action(qv::kCmdFileOpen)->setShortcut(QKeySequence::Open);
  Action(qv::kCmdFileClose)->setShortcut(QKeySequence::Close);
  Action(qv::kCmdExit)->setShortcut(QKeySequence::Quit);
  Action(qv::kCmdEditCopy)->setShortcut(QKeySequence::Copy);
  Action(qv::kCmdFindDomain)->setShortcut(QKeySequence::Find);
}


void CMainFrame::BuildView() {
  view_ = new CCorvaneView(&doc_, this);
  setCentralWidget(view_);
  listMenu_ = qv::BuildListContextMenu(this, actions_);
  connect(view_, &CCorvaneView::sortFailed, this, &CMainFrame::ShowListError);
  connect(view_, &CCorvaneView::contextMenuRequested, this,
          [this](QPoint globalPos) { listMenu_->popup(globalPos); });
  BindDeleteKey(view_->ListView(), Action(qv::kCmdDeleteSelected));
}

void CMainFrame::BuildToolBar() {
  QToolBar* toolbar = addToolBar(tr("Main Toolbar"));
  toolbar->setObjectName(QStringLiteral("MainToolbar"));
  toolbar->setMovable(true);
  qv::FillToolBar(toolbar, actions_);
  busy_ = new CBusyIndicator(toolbar);
  toolbar->addWidget(busy_);
  BindToggle(qv::kCmdViewToolbar, toolbar->toggleViewAction(), toolbar);
}

namespace {

const char* const kInitialPaneTexts[kPaneCount] = {"Ready", "CAP", "Total:", "Display:",
                                                                "Queue:", "W:0 D:0 H:0 P:0"};

QDockWidget* MakeDock(QMainWindow* window, const QString& title, const QString& name,
                      QWidget* content, Qt::DockWidgetArea area) {
  auto* dock = new QDockWidget(title, window);
  dock->setObjectName(name);
  dock->setWidget(content);
  window->addDockWidget(area, dock);
  return dock;
}

}  // namespace

void CMainFrame::BuildDocks() {
  quickBar_ = new CQuickLookupBar(Action(qv::kCmdLookupDomain), this);
  quickDock_ = MakeDock(this, tr("Quick Lookup"), QStringLiteral("QuickLookupBar"), quickBar_,
                        Qt::TopDockWidgetArea);
  quickDock_->setFeatures(quickDock_->features() & ~QDockWidget::DockWidgetVerticalTitleBar);
  connect(quickBar_, &CQuickLookupBar::nameChosen, this, [this](const QString& name) {
    if (!doc_.IsOpen()) return;
    doc_.RefreshList();
    qv::FindDomainInView(*view_, name);
  });
  BindToggle(qv::kCmdViewQuickLookupBar, quickDock_->toggleViewAction(), quickDock_);

  namesBar_ = new CDomainNamesBar(qv::NamePadPath(), this);
  namesDock_ = MakeDock(this, tr("Domain Names"), QStringLiteral("DomainNamesBar"), namesBar_,
                        Qt::LeftDockWidgetArea);
  namesDock_->setVisible(Setting(kDialogBarVisible, 1) != 0);
  BindToggle(qv::kCmdViewDomainNamesBar, namesDock_->toggleViewAction(), namesDock_);
  auto* padMenu = new QMenu(namesBar_);
  for (int id : {qv::kCmdPadCopySelected, qv::kCmdPadCopyAll, qv::kCmdPadDeleteSelected,
                 qv::kCmdPadDeleteAll, qv::kCmdPadRefresh})
    padMenu->addAction(Action(id));
  // The selector names the modes as the View menu does.
  for (int id : qv::ViewMenuDisplayModes())
    namesBar_->SetModeLabel(id, Action(id)->text().remove(QLatin1Char('&')));
  namesBar_->SetMenu(padMenu);
  BindDeleteKey(namesBar_->NameList(), Action(qv::kCmdPadDeleteSelected));
  connect(namesBar_, &CDomainNamesBar::modeChosen, this, &CMainFrame::SetDisplayMode);

  lookupBar_ = new CLookupListBar(this);
  lookupDock_ = MakeDock(this, tr("Lookup Queue"), QStringLiteral("LookupQueueBar"), lookupBar_,
                         Qt::BottomDockWidgetArea);
  BindToggle(qv::kCmdViewLookupQueueBar, lookupDock_->toggleViewAction(), lookupDock_);
  // The list gets most of the room.
  resizeDocks({lookupDock_}, {110}, Qt::Vertical);
  resizeDocks({namesDock_}, {220}, Qt::Horizontal);
}

void CMainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  for (int i = 0; i < kPaneCount; ++i) {
    panes_[i] = new QLabel(QString::fromLatin1(kInitialPaneTexts[i]), bar);
    panes_[i]->setObjectName(QStringLiteral("StatusPane%1").arg(i));
    if (i == kPaneMessage)
      bar->addWidget(panes_[i], 1);
    else
      bar->addPermanentWidget(panes_[i]);
    if (i >= kPaneTotal) panes_[i]->setMinimumWidth(90);
  }
  // The indicator shows its text only while Caps Lock is on.
  panes_[kPaneCapsLock]->setEnabled(false);
  auto* toggle = Action(qv::kCmdViewStatusBar);
  toggle->setEnabled(true);
  toggle->setChecked(true);
  connect(toggle, &QAction::toggled, bar, &QStatusBar::setVisible);
}

void CMainFrame::BuildTray() {
  tray_ = new CTrayIcon(Action(qv::kCmdTrayRestore), Action(qv::kCmdTrayExit), this);
  connect(tray_, &CTrayIcon::activated, this, &CMainFrame::RestoreFromTray);
}

void CMainFrame::BuildEngine() {
  engine_ = std::make_unique<qv::LookupEngine>(
      [this]() -> qv::DomainDatabase* { return doc_.IsOpen() ? &doc_.Database() : nullptr; },
      kTimerPeriodMs, this);
  qv::LookupEngine* engine = engine_.get();
  mailer_ = std::make_unique<qv::AlertMailer>(engine->Alerts());
  qv::AlertMailer* mailer = mailer_.get();
  engine->SetAlertSender([mailer] { mailer->OnIdle(); });
  connect(mailer, &qv::AlertMailer::statusText, this,
          [this](const QString& text) { SetStatusText(kPaneMessage, text); });
  lookupBar_->SetSource([engine] { return engine->QueueBarRowCount(); },
                        [engine](int row) { return engine->QueueBarRow(row); });
  connect(engine, &qv::LookupEngine::statusChanged, this, &CMainFrame::ShowEngineStatus);
  connect(engine, &qv::LookupEngine::busyChanged, busy_, &CBusyIndicator::SetBusy);
  // Lookups started for one document never write into the next.
  connect(&doc_, &CCorvaneDoc::documentChanged, engine, &qv::LookupEngine::DocumentChanged);
  connect(&doc_, &CCorvaneDoc::documentChanged, this, &CMainFrame::ShowEngineStatus);
  // The counts follow the list at once, not only at the next tick.
  connect(&doc_, &CCorvaneDoc::listChanged, engine, &qv::LookupEngine::UpdateStatusPanes);
  connect(&doc_, &CCorvaneDoc::listGrew, engine, &qv::LookupEngine::UpdateStatusPanes);
  connect(&doc_, &CCorvaneDoc::listCompleted, engine, &qv::LookupEngine::UpdateStatusPanes);
  connect(engine, &qv::LookupEngine::queueBarChanged, this, [this] {
    if (!lookupDock_->isHidden()) lookupBar_->Refresh();
  });
  connect(lookupDock_->toggleViewAction(), &QAction::toggled, this, [this](bool shown) {
    if (shown) lookupBar_->Refresh();
  });
  connect(engine, &qv::LookupEngine::recordChanged, this, [this](const QString& name) {
    view_->RefreshRow(name);
    emit doc_.recordChanged(name);
  });
  BuildWebChecks();
}

void CMainFrame::BuildWebChecks() {
  webChecks_ = std::make_unique<qv::WebChecks>(
      [this]() -> qv::DomainDatabase* { return doc_.IsOpen() ? &doc_.Database() : nullptr; }, this);
  qv::WebChecks* checks = webChecks_.get();
  connect(checks, &qv::WebChecks::recordChanged, this, [this](const QString& name) {
    view_->RefreshRow(name);
    emit doc_.recordChanged(name);
  });
  connect(checks, &qv::WebChecks::pingUnavailable, this,
          [this](const QString& text) { SetStatusText(kPaneMessage, text); });
  connect(&checks->Trademark(), &qv::TrademarkSearch::statusText, this,
          [this](const QString& text) { SetStatusText(kPaneMessage, text); });
  // A failed ping of one of the most important names becomes an alert.
  connect(checks, &qv::WebChecks::pingChecked, this, [this](const QString& name, bool replied) {
    qv::DomainRecord record;
    if (!replied && doc_.IsOpen() && doc_.Database().ReadRecord(qv::ToStdString(name), record))
      mailer_->RaisePingAlert(record, true, qv::Date::Now());
  });
  qv::LookupEngine* engine = engine_.get();
  qv::ConnectWebChecks(*engine, *checks, [engine] { engine->RunAutoScan(); });
}

void CMainFrame::ShowEngineStatus() {
  // Without a document the engine computes nothing; the panes go back to
  // their first texts, so a closed document's counts do not linger.
  for (int pane = kPaneTotal; pane <= kPaneActivity; ++pane) {
    const QString text = engine_->StatusPaneText(pane);
    if (!text.isEmpty())
      SetStatusText(pane, text);
    else if (!doc_.IsOpen())
      SetStatusText(pane, QString::fromLatin1(kInitialPaneTexts[pane]));
  }
}

void CMainFrame::BindToggle(int commandId, QAction* viewAction, QWidget* bar) {
  QAction* toggle = Action(commandId);
  toggle->setEnabled(true);
  toggle->setChecked(!bar->isHidden());
  connect(toggle, &QAction::triggered, bar, &QWidget::setVisible);
  connect(viewAction, &QAction::toggled, toggle, &QAction::setChecked);
}

// --- Commands -----------------------------------------------------------------

QAction* CMainFrame::Action(int commandId) const { return actions_.value(commandId, nullptr); }

void CMainFrame::SetHandler(int commandId, std::function<void()> handler) {
  QAction* action = Action(commandId);
  if (!action) return;
  disconnect(action, &QAction::triggered, this, nullptr);
  const bool writes = qv::IsWritingCommand(commandId);
  connect(action, &QAction::triggered, this, [this, writes, handler = std::move(handler)] {
    if (writes && doc_.IsReadOnly()) {
      prompts_.tell(this, QString::fromLatin1(qv::kReadOnlyDocumentText));
      return;
    }
    handler();
  });
  action->setEnabled(true);
}

void CMainFrame::WireOwnCommands() {
  SetHandler(qv::kCmdFileNew, [this] { qv::RunNewDocument(*this); });
  SetHandler(qv::kCmdFileOpen, [this] { qv::RunOpenDocument(*this); });
  SetHandler(qv::kCmdFileClose, [this] { doc_.Close(); });
  SetHandler(qv::kCmdBackupCompact, [this] { qv::RunBackupAndCompact(*this); });
  for (int i = 0; i < qv::kRecentFileCount; ++i)
    SetHandler(qv::kCmdRecentFile1 + i, [this, i] { OpenRecentFile(i); });
  SetHandler(qv::kCmdMinimizeToTray, [this] { MinimizeToTray(); });
  SetHandler(qv::kCmdOpenInTrayAtStartup, [this] { ToggleSetting(kMinimizeAtStartup, 0); });
  SetHandler(qv::kCmdOpenLastDocAtStartup, [this] { ToggleSetting(kEnableAutoDocLoad, 1); });
  SetHandler(qv::kCmdExit, [this] { close(); });
  SetHandler(qv::kCmdTrayRestore, [this] { RestoreFromTray(); });
  SetHandler(qv::kCmdTrayExit, [this] {
    if (close()) QCoreApplication::quit();
  });

  SetHandler(qv::kCmdDeleteSelected, [this] { qv::RunDeleteSelectedDomains(*this); });
  SetHandler(qv::kCmdNormalizeDatabase, [this] { qv::RunNormalizeDatabase(*this); });
  SetHandler(qv::kCmdAdditionalGroups, [this] { qv::RunAdditionalGroups(*this); });
  SetHandler(qv::kCmdRepairDatabase, [this] { qv::RunRepairDatabase(*this); });
  SetHandler(qv::kCmdAbout, [this] { ShowAbout(); });

  WireListModes();
  WireDisplayModes();
  WireNamePad();
  SetHandler(qv::kCmdSelectNone, [this] { view_->ListView()->clearSelection(); });
  SetHandler(qv::kCmdViewRawWhois,
             [this] { ApplyViewMode(Action(qv::kCmdViewRawWhois)->isChecked() ? 1 : 0); });
  ApplyViewMode(viewMode_);
}

void CMainFrame::WireListModes() {
  auto show = [this](int id) {
    if (!qv::ShowListMode(doc_.Database(), qv::ListModeForCommand(id)))
      ShowListError(qv::ToQString(qv::ListErrorText()));
  };
  for (int id = qv::kCmdListLetterA; id <= qv::kCmdListLetterZ; ++id)
    SetHandler(id, [show, id] { show(id); });
  SetHandler(qv::kCmdListDigits, [show] { show(qv::kCmdListDigits); });
  SetHandler(qv::kCmdListAll, [show] { show(qv::kCmdListAll); });
  SetHandler(qv::kCmdSortNameWise, [this] { view_->SortByField(QStringLiteral("Domain"), qv::GetSortDirection()); });
  SetHandler(qv::kCmdSortTldWise, [this] { view_->SortByField(QStringLiteral("TLD"), qv::GetSortDirection()); });
  SetHandler(qv::kCmdAlwaysSortAscending, [this] { ToggleSetting(kAlwaysSortAscending, 0); });
  SetHandler(qv::kCmdLockSortingOrder, [this] { ToggleSetting(kLockSortingOrder, 1); });
}

void CMainFrame::WireDisplayModes() {
  for (int id : qv::ViewMenuDisplayModes())
    SetHandler(id, [this, id] { SetDisplayMode(id); });
  ShowDisplayMode(view_->DisplayMode());
}

void CMainFrame::WireNamePad() {
  const auto sendToPad = [this](const QStringList& names) {
    const int leftOut = namesBar_->AddNames(names);
    namesDock_->show();
    if (leftOut > 0) prompts_.tell(this, CDomainNamesBar::LeftOutText(leftOut));
  };
  SetHandler(qv::kCmdSendSelectedToNamePad, [this, sendToPad] { sendToPad(SelectedNames()); });
  SetHandler(qv::kCmdSendAllToNamePad, [this, sendToPad] { sendToPad(view_->AllShownNames()); });
  SetHandler(qv::kCmdPadDeleteSelected, [this] { namesBar_->DeleteSelectedNames(); });
  SetHandler(qv::kCmdPadDeleteAll, [this] { namesBar_->DeleteAllNames(); });
  SetHandler(qv::kCmdPadRefresh, [this] {
    if (!namesBar_->Refresh()) prompts_.tell(this, tr("The Domain Names list could not be saved."));
  });
  SetHandler(qv::kCmdPadCopySelected, [this] {
    QApplication::clipboard()->setText(CDomainNamesBar::ClipboardText(namesBar_->SelectedNames()));
  });
  SetHandler(qv::kCmdPadCopyAll, [this] {
    QApplication::clipboard()->setText(CDomainNamesBar::ClipboardText(namesBar_->Names()));
  });
}

void CMainFrame::SetDisplayMode(int commandId) {
  view_->SetDisplayMode(commandId);
  ShowDisplayMode(view_->DisplayMode());
}

void CMainFrame::ShowDisplayMode(int commandId) {
  if (QAction* action = Action(commandId)) action->setChecked(true);
  namesBar_->ShowMode(commandId);
}

void CMainFrame::ApplyViewMode(int mode) {
  viewMode_ = mode == 0 ? 0 : 1;
  Action(qv::kCmdViewRawWhois)->setChecked(viewMode_ == 1);
  // The raw whois pane is the second pane of the view's splitter.
  if (QSplitter* splitter = view_->Splitter(); splitter && splitter->count() > 1)
    splitter->widget(1)->setVisible(viewMode_ == 1);
}

void CMainFrame::ToggleSetting(const char* key, int defaultValue) {
  qv::WriteProfileInt(kSettingsSection, key, Setting(key, defaultValue) != 0 ? 0 : 1);
  UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
  Action(qv::kCmdOpenInTrayAtStartup)->setChecked(Setting(kMinimizeAtStartup, 0) != 0);
  Action(qv::kCmdOpenLastDocAtStartup)->setChecked(Setting(kEnableAutoDocLoad, 1) != 0);
  Action(qv::kCmdAlwaysSortAscending)->setChecked(Setting(kAlwaysSortAscending, 0) != 0);
  Action(qv::kCmdLockSortingOrder)->setChecked(Setting(kLockSortingOrder, 1) != 0);
  UpdateRecentFiles();
}

void CMainFrame::UpdateRecentFiles() {
  const std::vector<std::string> files = qv::RecentFiles();
  for (int i = 0; i < qv::kRecentFileCount; ++i) {
    QAction* action = Action(qv::kCmdRecentFile1 + i);
    const bool present = i < int(files.size());
    action->setVisible(present);
    if (present)
      action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(qv::ToQString(files[std::size_t(i)])));
  }
}

void CMainFrame::OpenRecentFile(int index) {
  const std::vector<std::string> files = qv::RecentFiles();
  if (index < 0 || index >= int(files.size())) return;
  const QString path = qv::ToQString(files[std::size_t(index)]);
  if (!QFileInfo::exists(path)) {
    // A file that has gone leaves the list, as the platform's list does.
    qv::RemoveRecentFile(files[std::size_t(index)]);
    prompts_.tell(this, tr("%1\r\nThe file cannot be found.").arg(path));
    UpdateRecentFiles();
    return;
  }
  OpenDocumentFile(path);
}

void CMainFrame::ShowAbout() {
  prompts_.tell(this, qv::AboutText(QApplication::applicationVersion()));
}

// --- Document -------------------------------------------------------------------

QStringList CMainFrame::SelectedNames() const { return view_->SelectedNames(); }

bool CMainFrame::OpenDocumentFile(const QString& path) {
  QString error;
  if (doc_.Open(path, &error)) {
    UpdateRecentFiles();
    return true;
  }
  prompts_.tell(this, error);
  return false;
}

void CMainFrame::UpdateTitle() {
  setWindowTitle(QStringLiteral("%1 - %2").arg(doc_.Title(), QApplication::applicationName()));
}

void CMainFrame::ShowListError(const QString& text) {
  if (!text.isEmpty()) prompts_.tell(this, text);
}

// --- Status bar and timer ---------------------------------------------------------

void CMainFrame::SetStatusText(int pane, const QString& text) {
  if (pane >= 0 && pane < kPaneCount && pane != kPaneCapsLock) panes_[pane]->setText(text);
}

QString CMainFrame::StatusText(int pane) const {
  if (pane < 0 || pane >= kPaneCount) return {};
  if (pane == kPaneCapsLock) return panes_[pane]->isEnabled() ? panes_[pane]->text() : QString();
  return panes_[pane]->text();
}

void CMainFrame::OnTimerTick() {
  engine_->SchedulerTick();
  emit timerTick();
}

void CMainFrame::timerEvent(QTimerEvent* event) {
  if (event->timerId() == timerId_)
    OnTimerTick();
  else
    QMainWindow::timerEvent(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    QLabel* caps = panes_[kPaneCapsLock];
    caps->setEnabled(CapsLockFromKey(static_cast<QKeyEvent*>(event), caps->isEnabled()));
  }
  return QMainWindow::eventFilter(watched, event);
}

// --- Tray -------------------------------------------------------------------------

void CMainFrame::MinimizeToTray() {
  if (tray_->Show()) {
    hide();
    return;
  }
  // No notification area: an icon could never bring the window back.
  showMinimized();
}

void CMainFrame::RestoreFromTray() {
  tray_->Hide();
  showNormal();
  raise();
  activateWindow();
}

bool CMainFrame::InTray() const { return tray_->Visible(); }

// --- Start-up and shut-down ---------------------------------------------------------

void CMainFrame::StartUp(const qv::StartUpOptions& options) {
  if (!options.commandLineDocument.isEmpty() && !OpenDocumentFile(options.commandLineDocument)) {
    startedUp_ = false;
    return;
  }
  ApplyStoredPlacement();
  if (options.showWindow) show();
  if (Setting(kEnableAutoDocLoad, 1) != 0 && options.previousRunEndedNormally &&
      options.commandLineDocument.isEmpty()) {
    const std::vector<std::string> recent = qv::RecentFiles();
    if (!recent.empty() && QFileInfo(qv::ToQString(recent.front())).isFile())
      OpenDocumentFile(qv::ToQString(recent.front()));
  }
  if (!doc_.IsOpen()) doc_.RefreshList();
  else view_->RestoreSortChoice();
}

void CMainFrame::ApplyStoredPlacement() {
  const std::optional<qv::WindowPlacement> p = qv::ReadWindowPlacement();
  if (!p) return;
  const QRect normal(p->left, p->top, p->right - p->left, p->bottom - p->top);
  // A rectangle without area would leave a window no one can see.
  if (normal.width() > 0 && normal.height() > 0) setGeometry(normal);
  if (p->showCmd == kShowMaximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::SavePlacement() {
  qv::WindowPlacement p;
  p.showCmd = isMaximized() ? kShowMaximized : isMinimized() ? kShowMinimized : kShowNormal;
  p.minX = p.minY = p.maxX = p.maxY = -1;
  QRect normal = normalGeometry();
  if (!normal.isValid()) normal = geometry();
  p.left = normal.left();
  p.top = normal.top();
  p.right = normal.left() + normal.width();
  p.bottom = normal.top() + normal.height();
  qv::WriteWindowPlacement(p);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!shutDown_) {
    shutDown_ = true;
    killTimer(timerId_);
    // Running workers are not waited for; their results are dropped.
    engine_->StopLookups();
    qv::FetchJobList::Instance().PurgeAtExit();
    qv::WriteProfileInt(kSettingsSection, kDialogBarVisible, namesDock_->isHidden() ? 0 : 1);
    qv::WriteProfileInt(kSettingsSection, kViewMode, viewMode_);
    SavePlacement();
    namesBar_->Save();
    doc_.Close();
    tray_->Hide();
    qv::RemoveExitMarker(exitMarker_);
  }
  event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  if (OpenDroppedFiles(event->mimeData()->urls())) event->acceptProposedAction();
}

bool CMainFrame::OpenDroppedFiles(const QList<QUrl>& urls) {
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) continue;
    // One document at a time: the first file dropped is opened.
    OpenDocumentFile(url.toLocalFile());
    return true;
  }
  return false;
}
