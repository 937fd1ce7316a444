// The two contents the settings writer alternates between, shared with the
// test that kills it.
#pragma once

#include <string>

#include "store/name_pad.h"
#include "whois/server_directory.h"

namespace qvkill {

inline constexpr const char* kServer = "whois.killtest.example";

// Two scratch lists of different lengths, so a torn file cannot pass for one.
inline qv::NamePad Pad(bool first) {
  qv::NamePad pad;
  const int count = first ? 3000 : 1700;
  for (int i = 0; i < count; ++i)
    pad.lists[0].entries.push_back((first ? "alpha" : "omega-longer-name") + std::to_string(i) + ".com");
  pad.lists[0].selected = first ? 2 : 1;
  pad.lists[1].entries = {first ? "kept.net" : "other.org"};
  return pad;
}

// The values of the server's record in either version.
inline std::string ServerText(bool first, const char* what) {
  return std::string(first ? "first " : "second ") + what;
}

inline void SaveServer(bool first) {
  qv::WhoisServerRecord record(kServer, true);
  record.tokenWhenFree = ServerText(first, "token");
  record.removeLeftOf = ServerText(first, "left");
  record.removeRightOf = ServerText(first, "right");
  record.port = first ? 4343 : 4344;
  record.manuallyEdited = 1;
  record.Save();
}

}  // namespace qvkill
