// The per-user data folder: the user's application-data location for this
// program (QStandardPaths::AppDataLocation), created on first use. It holds the
// change log, the word lists, the raw whois files and the unclean-exit marker.
#pragma once

#include <filesystem>

namespace qv {

// Creates the folder when it is missing. Returns an empty path only when the
// platform gives no location at all.
std::filesystem::path DataFolder();

}  // namespace qv
