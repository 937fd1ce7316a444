// The commands on the selected domain's registrar and site: "Domain
// Management Settings..." and "Browse Website".
#pragma once

#include <string>

class CMainFrame;

namespace qv {

// The registrar key of the first selected domain (see RegistrarKey).
std::string SelectedRegistrarKey(CMainFrame& frame);
void RunDomainManagementSettings(CMainFrame& frame);
// Opens "http://www." and the first selected domain; nothing without one.
void RunBrowseWebsite(CMainFrame& frame);
void WireRegistrarCommands(CMainFrame& frame);

}  // namespace qv
