#include "app/main_frame_wiring.h"

#include <QAction>

#include "app/command_ids.h"
#include "app/commands/copy_commands.h"
#include "app/commands/dialog_commands.h"
#include "app/commands/export_commands.h"
#include "app/commands/help_commands.h"
#include "app/commands/group_commands.h"
#include "app/commands/import_commands.h"
#include "app/commands/lookup_commands.h"
#include "app/commands/namegen_commands.h"
#include "app/commands/registrar_commands.h"
#include "app/commands/sql_filter_commands.h"
#include "app/commands/traffic_rank_commands.h"
#include "app/commands/trademark_commands.h"
#include "app/dialogs/colors_fonts_dialog.h"
#include "app/dialogs/display_list_setup_dialog.h"
#include "app/dialogs/domain_properties_dialog.h"
#include "app/dialogs/expiry_date_display_dialog.h"
#include "app/dialogs/extra_settings_dialog.h"
#include "app/dialogs/invalid_ip_dialog.h"
#include "app/dialogs/string_tokens_dialog.h"
#include "app/dialogs/tagged_email_list_dialog.h"
#include "app/dialogs/whois_logging_dialog.h"
#include "app/dialogs/whois_text_search_dialog.h"
#include "app/docks/domain_names_bar.h"
#include "app/main_frame.h"
#include "app/menus.h"
#include "app/view/corvane_view.h"

namespace qv {
namespace {

// Commands that take the main window.
void WireFrameCommands(CMainFrame& frame) {
  CMainFrame* f = &frame;
  const std::pair<int, void (*)(CMainFrame&)> commands[] = {
      {kCmdEditCopy, &RunCopySelectedRows},
      {kCmdCopySelectedNames, &RunCopySelectedNames},
      {kCmdCopyAllNames, &RunCopyAllNames},
      {kCmdCopySelectedRows, &RunCopySelectedRows},
      {kCmdCopyFullTable, &RunCopyFullTable},
      {kCmdCopyAvailableNames, &RunCopyAvailableNames},
      {kCmdExportSelectedRows, &RunExportSelectedRows},
      {kCmdExportFullTable, &RunExportFullTable},
      {kCmdExportAvailableNames, &RunExportAvailableNames},
      {kCmdExportRawWhois, &RunExportRawWhois},
      {kCmdCreateSimpleNames, &RunCreateSimpleDomainNames},
      {kCmdImportLargeTextFile, &RunImportFromLargeTextFile},
      {kCmdNamesFromKeywords, &RunNamesFromKeywords},
      {kCmdNamesFromTemplates, &RunNamesFromTemplates},
      {kCmdNamesAfterFiltering, &RunDomainNameFilter},
      {kCmdFindDomain, &RunFindDomain},
      {kCmdTldList, &RunTldListDialog},
      {kCmdDomainLookupSetup, &RunDomainSetupDialog},
      {kCmdWhoisServerSetup, &RunWhoisServerSetupDialog},
      {kCmdResetWhoisServer, &RunResetWhoisServer},
      {kCmdWhoisTool, &RunWhoisTool},
      {kCmdStringTokens, &RunStringTokensDialog},
      {kCmdWhoisTextSearch, &RunWhoisTextSearch},
      {kCmdExtraSettings, &RunExtraSettingsDialog},
  };
  for (const auto& [id, run] : commands) f->SetHandler(id, [f, run] { run(*f); });
}

// Commands of the list view's own dialogs.
void WireViewCommands(CMainFrame& frame) {
  CCorvaneView* view = frame.View();
  if (!view) return;
  frame.SetHandler(kCmdColorsFonts, [view] { RunColorsFontsDialog(*view); });
  frame.SetHandler(kCmdDomainTableColumns, [view] { RunDisplayListSetupDialog(*view); });
  frame.SetHandler(kCmdExpiryHighlight, [view] { RunExpiryDateDisplayDialog(*view); });
  frame.SetHandler(kCmdTaggedEmailList, [view] { RunTaggedEmailListDialog(*view); });
  frame.SetHandler(kCmdDomainProperties, [view] { RunDomainPropertiesDialog(*view); });
}

}  // namespace

void WireOtherCommands(CMainFrame& frame) {
  WireFrameCommands(frame);
  WireViewCommands(frame);
  WireLookupCommands(frame, frame.Engine());
  WireSqlFilterCommands(frame);
  WireHelpCommands(frame);
  WireRegistrarCommands(frame);
  WireTrademarkCommands(frame);
  WireGroupCommands(frame);
  WireSitePopCommands(frame);
  CMainFrame* bar = &frame;
  QObject::connect(frame.DomainNamesBar(), &CDomainNamesBar::groupChosen, &frame,
                   [bar](const QString& code) { ShowGroupList(*bar, code.toStdString()); });
  CMainFrame* f = &frame;
  frame.SetHandler(kCmdInvalidIpList, [f] { RunInvalidIpDialog(f, f->Engine()); });
  frame.SetHandler(kCmdLogWhoisToDisk, [f] { RunWhoisLoggingDialog(f); });
  // Whatever another module connected, the commands of features still to
  // come stay disabled.
  for (int id : LaterCommands())
    if (QAction* action = frame.Action(id)) action->setEnabled(false);
}

}  // namespace qv
