#include "app/commands/sql_filter_commands.h"

#include <QUrl>

#include "app/command_ids.h"
#include "app/commands/file_commands.h"
#include "app/commands/lookup_commands.h"
#include "app/dialogs/sql_lookup_dialog.h"
#include "app/dialogs/sql_query_setup_dialog.h"
#include "app/docks/display_query_bar.h"
#include "app/main_frame.h"
#include "app/open_url.h"
#include "lookup/lookup_engine.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "store/list_query.h"
#include "store/sql_queries.h"

namespace qv {
namespace {

std::string DocumentPath(CMainFrame& frame) { return frame.Document().Database().Path(); }

void OfferChecks(CSqlLookupDialog& dialog, const LookupEngine& engine) {
  const std::pair<CLookupDialog::Check, QueueKind> checks[] = {
      {CLookupDialog::kPing, QueueKind::Ping},
      {CLookupDialog::kHttp, QueueKind::HomePage},
      {CLookupDialog::kLinkPop, QueueKind::LinkPopularity},
      {CLookupDialog::kUsTm, QueueKind::Trademark},
  };
  for (const auto& [check, kind] : checks) dialog.SetOffered(check, engine.Offers(kind));
}

}  // namespace

bool ShowDisplayQuery(CMainFrame& frame, const QString& name) {
  const std::string sql = GetDisplayQuerySql(ToStdString(name));
  if (sql.empty()) {
    frame.UserPrompts().tell(&frame, QObject::tr(kNoSuchQueryText).arg(name));
    return false;
  }
  if (RunListQuery(frame.Document().Database(), sql)) return true;
  frame.UserPrompts().tell(&frame, ToQString(ListErrorText()));
  return false;
}

void RunSqlDisplayFilter(CMainFrame& frame, CDisplayQueryBar* bar) {
  CSqlQuerySetupDialog dialog(QueryKind::Display, DocumentPath(frame), frame.UserPrompts(), &frame);
  const bool selected = RunSqlDialog(dialog) == QDialog::Accepted;
  if (bar) bar->Reload();
  if (selected && !dialog.SelectedName().empty()) ShowDisplayQuery(frame, ToQString(dialog.SelectedName()));
}

void RunSqlLookupFilter(CMainFrame& frame, LookupEngine& engine) {
  if (engine.RunBusy()) {
    frame.UserPrompts().tell(&frame, QString::fromLatin1(kLookupsBusyText));
    return;
  }
  if (!RequireDatabase(frame)) return;
  CSqlLookupDialog dialog(LookupDialogValues::Load(),
                          GetProfileString(kSettingsSection, kSqlLookupQueryKey, ""), DocumentPath(frame),
                          frame.UserPrompts(), &frame);
  OfferChecks(dialog, engine);
  if (RunSqlDialog(dialog) != QDialog::Accepted) return;
  const LookupDialogValues values = dialog.Values();
  const std::string name = dialog.QueryName();
  WriteProfileString(kSettingsSection, kSqlLookupQueryKey, name);
  values.Save();
  if (!values.AnyCheck()) return;
  std::string error;
  const int count = RunLookupQuery(frame.Document().Database(), GetLookupQuerySql(name), &error);
  if (count < 0) {
    frame.UserPrompts().tell(&frame, ToQString(error));
    return;
  }
  // The query chose the names: each is looked up whatever its age.
  LookupRunOptions options = values.RunOptions();
  options.gapMinutes = 0;
  engine.StartQueryRun(options, count);
}

void RunDatabaseSetup(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  const QString path = frame.Document().Path();
  if (!OpenUrl(QUrl::fromLocalFile(path)))
    frame.UserPrompts().tell(&frame, QObject::tr(kCannotOpenDocumentText).arg(path));
}

void WireSqlFilterCommands(CMainFrame& frame) {
  auto* bar = new CDisplayQueryBar(&frame);
  frame.addToolBar(Qt::TopToolBarArea, bar);
  CMainFrame* f = &frame;
  QObject::connect(bar, &CDisplayQueryBar::queryChosen, f, [f](const QString& name) { ShowDisplayQuery(*f, name); });
  frame.SetHandler(kCmdSqlDisplayFilter, [f, bar] { RunSqlDisplayFilter(*f, bar); });
  frame.SetHandler(kCmdSqlLookupFilter, [f] { RunSqlLookupFilter(*f, f->Engine()); });
  frame.SetHandler(kCmdDatabaseSetup, [f] { RunDatabaseSetup(*f); });
}

}  // namespace qv
