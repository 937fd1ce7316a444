// The main window: it holds the one document and its list view, the toolbar,
// the three docking bars, the status bar, the notification-area icon and
// timer 1, which drives the lookup scheduler. Every command of the program is
// a QAction here, found by its identifier (app/command_ids.h); the owner of a
// command connects it with SetHandler (or through Action()).
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

#include "app/corvane_doc.h"
#include "app/prompts.h"
#include "app/start_up.h"

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QTimer;
class CCorvaneView;
class CLookupListBar;
class CQuickLookupBar;
class CDomainNamesBar;
class CTrayIcon;
class CBusyIndicator;

namespace qv {
class AlertMailer;
class LookupEngine;
class WebChecks;
}  // namespace qv

// The status bar panes, counted from 0.
enum StatusPane : int {
  kPaneMessage = 0,   // "Ready" when idle
  kPaneCapsLock = 1,  // the caps-lock indicator
  kPaneTotal = 2,     // "Total:"
  kPaneDisplay = 3,   // "Display:"
  kPaneQueue = 4,     // "Queue:"
  kPaneActivity = 5,  // "W:0 D:0 H:0 P:0"
  kPaneCount = 6,
};

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the window and runs the rest of the start-up: the command-line
  // document (or, when allowed, the newest recent file), the stored window
  // placement, showing the window and "Minimize At Startup".
  explicit CMainFrame(const qv::StartUpOptions& options = {}, QWidget* parent = nullptr);
  ~CMainFrame() override;

  CCorvaneDoc& Document() { return doc_; }
  // The list view; null until the view exists.
  CCorvaneView* View() { return view_; }
  // The names of the selected rows of the list, in list order.
  QStringList SelectedNames() const;
  void SetStatusText(int pane, const QString& text);
  QString StatusText(int pane) const;

  // The lookup engine: its queues, the work in progress and the run.
  qv::LookupEngine& Engine() { return *engine_; }
  // The home page, ping and link popularity checks the engine starts.
  qv::WebChecks& WebCheckers() { return *webChecks_; }
  // Mails the engine's alerts; its news goes to the status bar.
  qv::AlertMailer& Mailer() { return *mailer_; }

  // Timer 1 (every 6000 ms) lands here: the scheduler tick of the lookup
  // engine, then timerTick for anything else that follows the clock.
  void OnTimerTick();
  static constexpr int kTimerPeriodMs = 6000;

  // The action of a command; null for an unknown identifier.
  QAction* Action(int commandId) const;
  // Connects a command and enables it.
  void SetHandler(int commandId, std::function<void()> handler);

  // The user-facing questions of the commands (tests replace them).
  qv::Prompts& UserPrompts() { return prompts_; }

  // False when the command-line document could not be opened: the program
  // ends then.
  bool StartedUp() const { return startedUp_; }

  // Opens a document and reports a failure to the user; true when opened.
  bool OpenDocumentFile(const QString& path);
  // Files dropped on the window: the first local file is opened as the
  // document. False when none of them is a local file.
  bool OpenDroppedFiles(const QList<QUrl>& urls);

  // "Minimize to Tray" and "&Restore...". Without a notification area the
  // window is minimised instead of hidden.
  void MinimizeToTray();
  void RestoreFromTray();
  bool InTray() const;

  // Switches the list to the display mode of a command and shows it checked
  // in the View menu and the mode selector.
  void SetDisplayMode(int commandId);
  // Brings the checked states of the setting switches and the recent-file
  // entries up to date (done whenever a menu opens).
  void UpdateCommandStates();

  // The docking bars (null never after construction).
  CLookupListBar* LookupQueueBar() const { return lookupBar_; }
  CQuickLookupBar* QuickLookupBar() const { return quickBar_; }
  CDomainNamesBar* DomainNamesBar() const { return namesBar_; }
  CBusyIndicator* BusyIndicator() const { return busy_; }
  QDockWidget* LookupQueueDock() const { return lookupDock_; }
  QDockWidget* QuickLookupDock() const { return quickDock_; }
  QDockWidget* DomainNamesDock() const { return namesDock_; }

  // The context menu of the list, built from the commands.
  QMenu* ListContextMenu() const { return listMenu_; }

 signals:
  void timerTick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildView();
  void BuildCommands();
  void BuildToolBar();
  void BuildDocks();
  void BuildStatusBar();
  void BuildTray();
  void BuildEngine();
  void BuildWebChecks();
  void ShowEngineStatus();
  void BindToggle(int commandId, QAction* viewAction, QWidget* bar);
  void WireOwnCommands();
  void WireDisplayModes();
  void WireListModes();
  void WireNamePad();
  void ShowDisplayMode(int commandId);
  void ApplyViewMode(int mode);
  void StartUp(const qv::StartUpOptions& options);
  void ApplyStoredPlacement();
  void SavePlacement();
  void UpdateTitle();
  void UpdateRecentFiles();
  void OpenRecentFile(int index);
  void ShowListError(const QString& text);
  void ShowAbout();
  void ToggleSetting(const char* key, int defaultValue);

  CCorvaneDoc doc_;
  CCorvaneView* view_ = nullptr;
  QHash<int, QAction*> actions_;
  QMenu* listMenu_ = nullptr;
  QLabel* panes_[kPaneCount] = {};
  CLookupListBar* lookupBar_ = nullptr;
  CQuickLookupBar* quickBar_ = nullptr;
  CDomainNamesBar* namesBar_ = nullptr;
  CBusyIndicator* busy_ = nullptr;
  QDockWidget* lookupDock_ = nullptr;
  QDockWidget* quickDock_ = nullptr;
  QDockWidget* namesDock_ = nullptr;
  CTrayIcon* tray_ = nullptr;
  std::unique_ptr<qv::LookupEngine> engine_;
  std::unique_ptr<qv::WebChecks> webChecks_;
  std::unique_ptr<qv::AlertMailer> mailer_;
  int timerId_ = 0;
  int viewMode_ = 1;  // "View Mode": 1 with the raw whois pane, 0 the list alone
  bool startedUp_ = true;
  bool shutDown_ = false;
  qv::Prompts prompts_;
  std::filesystem::path exitMarker_;
};
