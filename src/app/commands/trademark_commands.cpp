#include "app/commands/trademark_commands.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/open_url.h"
#include "platform/text.h"
#include "webcheck/trademark_page.h"

namespace qv {

void RunOpenTrademarkSite(CMainFrame& frame) {
  const QStringList names = frame.SelectedNames();
  const std::string name = names.isEmpty() ? std::string() : ToStdString(names.front());
  OpenUrlText(&frame, frame.UserPrompts(), ToQString(PublicTrademarkSearchUrl(name)));
}

void WireTrademarkCommands(CMainFrame& frame) {
  CMainFrame* f = &frame;
  frame.SetHandler(kCmdOpenTmSite, [f] { RunOpenTrademarkSite(*f); });
}

}  // namespace qv
