// The program's icon and its name on the desktop. The pictures are the ones
// installed into the icon theme for the menu entry, built into the program
// so the main window, every dialog and the notification-area icon show the
// same icon even when the program runs from its build folder.
#pragma once

#include <QIcon>

namespace qv {

// The name of the installed desktop entry, without ".desktop".
inline constexpr const char* kDesktopEntryName = "com.tembrix.Quorvel";

QIcon ProgramIcon();

// Gives every window of the program its icon and ties the windows to the
// desktop entry, so docks and task bars show the menu entry's name and icon.
// Call once after the application object exists.
void ShowProgramIdentity();

}  // namespace qv
