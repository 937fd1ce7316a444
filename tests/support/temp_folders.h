// Points the settings store and the per-user data folder at a new, empty
// temporary directory. Every test class gets one from the test main; a test
// that needs a clean store per function calls FreshFolders() in init().
#pragma once

#include <QString>
#include <filesystem>

namespace qvtest {

// Replaces the current temporary folders with new empty ones and returns the
// root. The previous folders are removed.
QString FreshFolders();
// The root of the current temporary folders.
QString TempRoot();
// A path inside the current temporary root (not created).
std::filesystem::path TempPath(const QString& name);

}  // namespace qvtest
