#include "app/dialogs/extra_settings_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "app/dialogs/known_whois_servers.h"
#include "app/dialogs/ok_cancel_buttons.h"
#include "app/main_frame.h"
#include "app/view/corvane_view.h"
#include "lookup/answer_files.h"
#include "lookup/change_log.h"
#include "lookup/lookup_snapshot.h"
#include "lookup/record_update.h"
#include "platform/ascii.h"
#include "platform/text.h"
#include "store/database_connection.h"
#include "store/domain_record.h"
#include "whois/normalise.h"

namespace qv {

CExtraSettingsDialog::CExtraSettingsDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Extra Settings"));
  expandDac_ = new QCheckBox(tr("Auto Expand Nominet DAC Whois Output"), this);
  expandDac_->setChecked(ExpandNominetDac());
  auto* buttons = qv::OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(expandDac_);
  layout->addWidget(buttons);
}

void CExtraSettingsDialog::accept() {
  SetExpandNominetDac(expandDac_->isChecked());
  QDialog::accept();
}

bool ReparseStoredAnswer(DomainDatabase& db, std::string_view name) {
  const std::string answer = LoadWhoisText(name);
  if (answer.empty() || answer == kWhoisLoggingDisabledText) return false;
  DomainRecord record;
  if (!db.ReadRecord(name, record) || record.Locked()) return false;
  // An updater of its own: no snapshot, so no change-log entry, and a clock
  // that gives the time of the last lookup back.
  const Date checkedAt = record.DateValue(field::kLastCheckedAt);
  SnapshotList snapshots;
  AlertList alerts;
  RecordUpdater updater(&db, snapshots, alerts);
  updater.SetClock([checkedAt] { return checkedAt; });
  return updater.ApplyWhoisAnswer(record.Domain(), answer);
}

bool ReparseWhenDacDomain(DomainDatabase& db, std::string_view name) {
  if (!ExpandNominetDac() || name.empty()) return false;
  if (!EqualsNoCase(DomainWhoisServer(&db, name), kDacServer)) return false;
  return ReparseStoredAnswer(db, name);
}

void RunExtraSettingsDialog(CMainFrame& frame) {
  CExtraSettingsDialog dialog(&frame);
  if (dialog.exec() != QDialog::Accepted) return;
  const QStringList selected = frame.SelectedNames();
  if (!selected.isEmpty() && frame.Document().IsOpen())
    ReparseWhenDacDomain(frame.Document().Database(), ToStdString(selected.first()));
  // The whois pane shows answers as the setting now reads them, so it is
  // redrawn whether or not a record changed.
  if (CCorvaneView* view = frame.View()) {
    if (!selected.isEmpty()) view->RefreshRow(selected.first());
    view->Refresh();
  }
}

}  // namespace qv
