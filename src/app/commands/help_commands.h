// The Help menu: "Help Topics" opens the help window (one, raised when it is
// open already), "About Quorvel" the About text; the maker's web links and
// "Check For Updates" stay disabled and say why in their tool tips.
#pragma once

class CMainFrame;

namespace qv {

class CHelpWindow;

// The help window, made when first asked for.
CHelpWindow* ShowHelpTopics(CMainFrame& frame);
void WireHelpCommands(CMainFrame& frame);

}  // namespace qv
