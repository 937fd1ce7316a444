// The temporary login pages handed to the browser: each is removed a while
// after the browser was asked to open it (time enough to read it), and any
// still there are removed when the program ends.
#pragma once

#include <QString>

namespace qv {

// How long a login page is kept after the browser was asked to open it.
inline constexpr int kLoginFormLifetimeMs = 30000;

// Removes the file after LoginFormLifetimeMs() (and at the latest at exit);
// at once when `now`.
void RemoveLoginFormLater(const QString& path, bool now = false);
int LoginFormLifetimeMs();
void SetLoginFormLifetimeForTests(int ms);

}  // namespace qv
