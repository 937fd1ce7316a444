#include "app/commands/dialog_commands.h"

#include "app/dialogs/domain_setup_dialog.h"
#include "app/dialogs/find_domain_dialog.h"
#include "app/dialogs/tld_list_dialog.h"
#include "app/dialogs/whois_server_setup_dialog.h"
#include "app/dialogs/whois_tool_dialog.h"
#include "app/corvane_doc.h"
#include "app/main_frame.h"
#include "app/view/big_list_view.h"
#include "app/view/corvane_view.h"
#include "store/domain_list.h"
#include "store/find_domain.h"
#include "platform/text.h"
#include "store/domain_fields.h"
#include "whois/server_directory.h"

namespace qv {
namespace {

QString FirstSelectedName(CMainFrame& frame) {
  const QStringList names = frame.SelectedNames();
  return names.isEmpty() ? QString() : names.first();
}

// The referral server named by the domain's last answer ("" when none).
std::string ReferralServer(CMainFrame& frame, const std::string& name) {
  if (!frame.Document().IsOpen()) return {};
  return frame.Document().Database().GetFieldText(name, field::kWhoisServer);
}

// The server that answers for a domain: its referral server when its last
// answer named one, else the directory's.
std::string WhoisServerOf(CMainFrame& frame, const std::string& name) {
  std::string server = ReferralServer(frame, name);
  if (server.empty()) server = WhoisServerFor(name);
  return server;
}

void OpenDomainSetup(CMainFrame& frame, const QString& name) {
  CDomainSetupDialog dialog(name, &frame);
  dialog.prompts = frame.UserPrompts();
  dialog.exec();
}

}  // namespace

bool FindDomainInView(CCorvaneView& view, const QString& text) {
  const QString wanted = text.trimmed();
  if (wanted.isEmpty()) return false;
  StoreFindDomainText(ToStdString(wanted));
  // The name may be among the rows still being read.
  if (view.Document()) view.Document()->ReadWholeList();
  const QModelIndex current = view.ListView()->currentIndex();
  const int selected =
      current.isValid() && view.ListView()->selectionModel()->isRowSelected(current.row()) ? current.row() : -1;
  // The name column shows the name with colour marks in front at most, so
  // its text without marks is the name itself: no record needs reading.
  DomainList& list = ShownList();
  const int row = FindDomainRow(
      list.Count(), [&list](int r) { return std::string(list.NameAt(r)); }, ToStdString(wanted), selected);
  if (row < 0) return false;
  view.SelectRow(row);
  return true;
}

void RunFindDomain(CMainFrame& frame) {
  if (!frame.View()) return;
  CFindDomainDialog dialog(&frame);
  if (dialog.exec() != QDialog::Accepted) return;
  FindDomainInView(*frame.View(), dialog.SearchText());
}

void RunTldListDialog(CMainFrame& frame) {
  CTldListDialog dialog(&frame);
  dialog.prompts = frame.UserPrompts();
  dialog.exec();
}

void RunDomainSetupDialog(CMainFrame& frame) {
  const QString name = FirstSelectedName(frame);
  if (name.isEmpty()) {
    RunTldListDialog(frame);  // pick a top-level domain there
    return;
  }
  OpenDomainSetup(frame, name);
}

void RunWhoisServerSetupDialog(CMainFrame& frame) {
  const QString name = FirstSelectedName(frame);
  if (name.isEmpty()) {
    RunTldListDialog(frame);
    return;
  }
  const std::string server = WhoisServerOf(frame, ToStdString(name));
  if (server.empty()) {
    OpenDomainSetup(frame, name);  // where a server can be named
    return;
  }
  CWhoisServerSetupDialog dialog(ToQString(server), &frame);
  dialog.exec();
}

void RunResetWhoisServer(CMainFrame& frame) {
  const QString name = FirstSelectedName(frame);
  if (name.isEmpty()) return;
  const std::string domain = ToStdString(name);
  const std::string referral = ReferralServer(frame, domain);
  const std::string server = referral.empty() ? WhoisServerFor(domain) : referral;
  if (server.empty()) return;
  const QString question = QObject::tr("This will clear any customized settings you might\n"
                                       "have created for the whois server (%1)\n\nAre you sure?")
                               .arg(ToQString(server));
  const auto answer = frame.UserPrompts().ask(
      &frame, question, QMessageBox::Yes | QMessageBox::No);
  if (answer == QMessageBox::Yes) ResetWhoisServer(domain, referral);
}

void RunWhoisTool(CMainFrame& frame) {
  // Not modal: the user may keep it open beside the list.
  auto* dialog = new CWhoisToolDialog(&frame);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
}

}  // namespace qv
