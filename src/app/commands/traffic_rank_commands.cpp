#include "app/commands/traffic_rank_commands.h"

#include <QFile>

#include "app/command_ids.h"
#include "app/commands/file_commands.h"
#include "app/commands/name_file.h"
#include "app/dialogs/site_pop_settings_dialog.h"
#include "app/main_frame.h"
#include "app/progress.h"
#include "lookup/lookup_engine.h"
#include "platform/text.h"
#include "webcheck/web_checks.h"

namespace qv {

bool ImportRanksFromFile(DomainDatabase& db, const QString& path, QWidget* parent, TrafficRanksReport& report,
                         QString& error) {
  error = ImportRefusal(ToQString(db.Path()), path);
  if (!error.isEmpty()) return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QObject::tr("The file %1 could not be read.\r\n%2").arg(path, file.errorString());
    return false;
  }
  ProgressWindow window(parent, QString::fromLatin1(kImportingRanksTitle));
  const std::size_t total = file.isSequential() ? 0 : std::size_t(std::max<qint64>(file.size(), 0));
  report = ImportTrafficRanks(db, ChunkReaderOf(file), total, Date::Now(), [&window](std::size_t done, std::size_t all) {
    return window.Advance(static_cast<long long>(done), static_cast<long long>(all));
  });
  return true;
}

void RunImportTrafficRanks(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  // The import is one transaction; lookup results written meanwhile would
  // share its fate if it were cancelled.
  if (frame.Engine().CanStop()) {
    frame.UserPrompts().tell(&frame, QString::fromLatin1(kRanksWhileLookingUpText));
    return;
  }
  const QString path = frame.UserPrompts().openFile(&frame, QObject::tr("Import Traffic Ranks From"),
                                                    QString::fromLatin1(kRankListFilter));
  if (path.isEmpty()) return;
  TrafficRanksReport report;
  QString error;
  if (!ImportRanksFromFile(frame.Document().Database(), path, &frame, report, error)) {
    frame.UserPrompts().tell(&frame, error);
    return;
  }
  // The ranks are new values of shown rows (and may change a sorted order).
  if (report.ranked > 0) frame.Document().RefreshList();
  frame.UserPrompts().tell(&frame, ToQString(TrafficRanksReportText(report)));
}

void RunSitePopSettings(CMainFrame& frame) {
  CSitePopSettingsDialog dialog(&frame);
  if (dialog.exec() == QDialog::Accepted) dialog.Save();
}

void WireSitePopCommands(CMainFrame& frame) {
  CMainFrame* f = &frame;
  f->SetHandler(kCmdImportTrafficRanks, [f] { RunImportTrafficRanks(*f); });
  f->SetHandler(kCmdSitePopSettings, [f] { RunSitePopSettings(*f); });
  QObject::connect(&f->WebCheckers().LinkPopularity(), &LinkPopularityCheck::servicesNotConfigured, f,
                   [f](const QString& text) { f->SetStatusText(kPaneMessage, text); });
}

}  // namespace qv
