// The unclean-exit marker: a file "quorvel.run" in the per-user data folder,
// created at start-up and deleted by a normal shut-down. Finding it at
// start-up means the previous run did not end normally.
#pragma once

#include <filesystem>

namespace qv {

inline constexpr const char* kExitMarkerFileName = "quorvel.run";

// The folder of the marker: the per-user data folder, or the folder of the
// program file when the platform gives no data folder.
std::filesystem::path ExitMarkerFolder();
std::filesystem::path ExitMarkerPath();

// True when the marker already existed (the previous run did not end);
// otherwise creates it and gives false.
bool TestAndSetExitMarker(const std::filesystem::path& marker);
// Deletes the marker at a normal shut-down. An empty path does nothing.
void RemoveExitMarker(const std::filesystem::path& marker);

}  // namespace qv
