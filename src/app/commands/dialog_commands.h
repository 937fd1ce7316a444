// Entry points of the commands that open the directory dialogs, the whois
// tool and "Find Domain".
#pragma once

class CMainFrame;

namespace qv {

void RunFindDomain(CMainFrame& frame);
void RunTldListDialog(CMainFrame& frame);
void RunDomainSetupDialog(CMainFrame& frame);
void RunWhoisServerSetupDialog(CMainFrame& frame);
void RunResetWhoisServer(CMainFrame& frame);
void RunWhoisTool(CMainFrame& frame);

}  // namespace qv
