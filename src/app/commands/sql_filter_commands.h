// The commands of the SQL filters: "SQL Display Filter..." (the display
// queries' setup; Select shows the chosen one), the display query bar, "SQL
// Lookup Filter..." (lookups for the names a lookup query selects) and
// "Database Setup..." (the document opened in the program the system
// associates with it).
#pragma once

#include <QString>

class CMainFrame;
class CDisplayQueryBar;

namespace qv {

class LookupEngine;

inline constexpr const char* kNoSuchQueryText = "There is no display query named '%1'.";
inline constexpr const char* kCannotOpenDocumentText = "No program was found to open %1";

// Makes the display query of that name the list query; false (the user told
// why) when there is no such query or it fails.
bool ShowDisplayQuery(CMainFrame& frame, const QString& name);
void RunSqlDisplayFilter(CMainFrame& frame, CDisplayQueryBar* bar);
void RunSqlLookupFilter(CMainFrame& frame, LookupEngine& engine);
void RunDatabaseSetup(CMainFrame& frame);

// Adds the display query bar to the window and wires the commands.
void WireSqlFilterCommands(CMainFrame& frame);

}  // namespace qv
