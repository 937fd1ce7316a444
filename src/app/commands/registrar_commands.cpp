#include "app/commands/registrar_commands.h"

#include "app/command_ids.h"
#include "app/dialogs/domain_management_dialog.h"
#include "app/main_frame.h"
#include "app/open_url.h"
#include "app/view/view_settings.h"
#include "platform/text.h"
#include "store/domain_fields.h"

namespace qv {
namespace {

std::string FirstSelected(CMainFrame& frame) {
  const QStringList names = frame.SelectedNames();
  return names.isEmpty() ? std::string() : ToStdString(names.front());
}

}  // namespace

std::string SelectedRegistrarKey(CMainFrame& frame) {
  const bool open = frame.Document().IsOpen();
  const std::string domain = FirstSelected(frame);
  const std::string registrar =
      open && !domain.empty() ? frame.Document().Database().GetFieldText(domain, field::kRegistrar) : std::string();
  return RegistrarKey(open, domain, registrar, [](std::string_view r) { return GetRegistrarAlias(r); });
}

void RunDomainManagementSettings(CMainFrame& frame) {
  CDomainManagementDialog dialog(SelectedRegistrarKey(frame), FirstSelected(frame), frame.UserPrompts(), &frame);
  dialog.exec();
}

void RunBrowseWebsite(CMainFrame& frame) {
  const std::string domain = FirstSelected(frame);
  if (domain.empty()) return;
  OpenUrlText(&frame, frame.UserPrompts(), QStringLiteral("http://www.") + ToQString(domain));
}

void WireRegistrarCommands(CMainFrame& frame) {
  CMainFrame* f = &frame;
  frame.SetHandler(kCmdDomainManagementSettings, [f] { RunDomainManagementSettings(*f); });
  frame.SetHandler(kCmdBrowseWebsite, [f] { RunBrowseWebsite(*f); });
}

}  // namespace qv
