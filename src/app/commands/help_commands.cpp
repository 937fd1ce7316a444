#include "app/commands/help_commands.h"

#include <QAction>
#include <QMenu>

#include "app/command_ids.h"
#include "app/help/help_window.h"
#include "app/main_frame.h"

namespace qv {
namespace {

void DisableWithReason(QAction* action, const char* reason) {
  if (!action) return;
  action->setEnabled(false);
  action->setToolTip(QObject::tr(reason));
  action->setStatusTip(QObject::tr(reason));
  for (QObject* owner : action->associatedObjects())
    if (auto* menu = qobject_cast<QMenu*>(owner)) menu->setToolTipsVisible(true);
}

}  // namespace

CHelpWindow* ShowHelpTopics(CMainFrame& frame) {
  auto* window = frame.findChild<CHelpWindow*>(QStringLiteral("HelpWindow"));
  if (!window) {
    window = new CHelpWindow(&frame);
    window->setObjectName(QStringLiteral("HelpWindow"));
  }
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

void WireHelpCommands(CMainFrame& frame) {
  CMainFrame* f = &frame;
  frame.SetHandler(kCmdHelpContents, [f] { ShowHelpTopics(*f); });
  DisableWithReason(frame.Action(kCmdHelpWebSite), kNoWebSiteTip);
  DisableWithReason(frame.Action(kCmdCheckForUpdates), kNoUpdateCheckTip);
}

}  // namespace qv
