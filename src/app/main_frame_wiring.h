// Connects the main window's commands to the command modules that carry
// them out (copying, exporting, adding names, the directory dialogs, the
// list dialogs, the lookup commands). Commands left unconnected stay
// disabled.
#pragma once

class CMainFrame;

namespace qv {

void WireOtherCommands(CMainFrame& frame);

}  // namespace qv
