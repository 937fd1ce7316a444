// Entry points of the commands that open the directory dialogs, the whois
// tool and "Find Domain".
#pragma once

#include <QString>

class CMainFrame;
class CCorvaneView;

namespace qv {

// Finds `text` in the name column of the list as shown (see
// store/find_domain.h), makes the row found the only selected one and
// scrolls to it; the text is stored as the one searched for last. False when
// no row matches (the selection stays) or the text is empty.
bool FindDomainInView(CCorvaneView& view, const QString& text);

void RunFindDomain(CMainFrame& frame);
void RunTldListDialog(CMainFrame& frame);
void RunDomainSetupDialog(CMainFrame& frame);
void RunWhoisServerSetupDialog(CMainFrame& frame);
void RunResetWhoisServer(CMainFrame& frame);
void RunWhoisTool(CMainFrame& frame);

}  // namespace qv
