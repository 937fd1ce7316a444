// The settings of the trademark search (section "Settings"): the search
// site's host and the pause after each request to it.
#pragma once

#include <string>

namespace qv {

// The site's host: "host", "host:port" or "http(s)://host[:port]". Empty
// (the default): no trademark search is made.
inline constexpr const char* kTessHostKey = "Tess Host";
// Seconds after the end of each request to the site before the next starts.
inline constexpr const char* kTessConnectionGapKey = "Tess Connection Gap";
inline constexpr int kTessConnectionGapDefault = 2;
inline constexpr int kTessConnectionGapMax = 3600;

std::string TessHostSetting();
void SetTessHostSetting(const std::string& host);
// Kept within 0 .. kTessConnectionGapMax.
int TessConnectionGapSetting();
void SetTessConnectionGapSetting(int seconds);

}  // namespace qv
