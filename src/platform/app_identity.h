// Names the program to Qt, so QStandardPaths and QSettings find this
// program's own folders. Call once after the application object exists.
#pragma once

namespace qv {

void InitApplicationIdentity();

}  // namespace qv
