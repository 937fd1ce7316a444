// The name generation commands of the main window: names from keywords,
// names from templates (both need an open document) and the Domain Name
// Filter (which needs one only when it hands names over).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CMainFrame;

namespace qv {

void RunNamesFromKeywords(CMainFrame& frame);
void RunNamesFromTemplates(CMainFrame& frame);
void RunDomainNameFilter(CMainFrame& frame);

// Adds generated names to the open document under the progress window and
// tells the user of names refused, left out for their length (`tooLong`),
// or a failure.
void AddGeneratedNames(CMainFrame& frame, const std::vector<std::string>& names, std::size_t tooLong = 0);

}  // namespace qv
