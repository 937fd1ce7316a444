// The command set of the main window as data: every command with its menu
// text, the main menu tree, the list's context menu and the toolbar. The
// window builds its QActions and menus from these tables.
#pragma once

#include <QHash>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QObject;
class QToolBar;
class QWidget;

namespace qv {

struct CommandEntry {
  int id;
  const char* text;  // the menu text, "&" marking the access key
  bool checkable = false;
};

// Every command of the main window, the letter lists included.
const std::vector<CommandEntry>& CommandEntries();

// The commands whose features come with later work; they stay disabled.
const std::vector<int>& LaterCommands();
// The commands that change the open document; a read-only document refuses
// them with one message before they start.
bool IsWritingCommand(int commandId);

// One toolbar button: its command and its label.
struct ToolbarButton {
  int id;
  const char* label;
};
const std::vector<ToolbarButton>& ToolbarButtons();

// The display-mode commands of the View menu, in menu order.
const std::vector<int>& ViewMenuDisplayModes();

// One QAction per command, all disabled; checkable ones as the table says.
QHash<int, QAction*> CreateActions(QObject* parent);

// Fills the menu bar. The recent-file commands start hidden; the window shows
// the ones the recent-file list fills.
void BuildMenuBar(QMenuBar* bar, const QHash<int, QAction*>& actions);
// The list's context menu.
QMenu* BuildListContextMenu(QWidget* parent, const QHash<int, QAction*>& actions);
// The toolbar buttons, each showing its label.
void FillToolBar(QToolBar* toolbar, const QHash<int, QAction*>& actions);

}  // namespace qv
