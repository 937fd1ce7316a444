// The window's link popularity commands of their own: "Import Traffic
// Ranks..." (a ranking list of "rank,domain" lines into `Alexa Rank`, under
// a progress window) and "Site Pop Settings..." (the services' addresses).
#pragma once

#include <QString>

#include "store/traffic_ranks.h"

class CMainFrame;
class QWidget;

namespace qv {

inline constexpr const char* kImportingRanksTitle = "Importing Traffic Ranks";
inline constexpr const char* kRanksWhileLookingUpText =
    "Lookups are running. Import the traffic ranks when they are done, or stop them first.";
inline constexpr const char* kRankListFilter = "Ranking Lists (*.csv *.txt);;All Files (*)";

// Reads the list at `path` into the document under the progress window.
// False, with `error` set, when nothing could be tried: the file cannot be
// read, the document is read-only, or the file is the document itself.
bool ImportRanksFromFile(DomainDatabase& db, const QString& path, QWidget* parent, TrafficRanksReport& report,
                         QString& error);

void RunImportTrafficRanks(CMainFrame& frame);
void RunSitePopSettings(CMainFrame& frame);
// Connects both commands and shows the check's "not configured" line in the
// status bar.
void WireSitePopCommands(CMainFrame& frame);

}  // namespace qv
