// "Open US Tm Site in Browser": the public trademark search page of the
// selected name in the user's browser.
#pragma once

class CMainFrame;

namespace qv {

// Opens the search results for the first selected name's search term, or
// the search page itself when no name is selected.
void RunOpenTrademarkSite(CMainFrame& frame);
void WireTrademarkCommands(CMainFrame& frame);

}  // namespace qv
