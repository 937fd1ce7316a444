#include "app/dialogs/whois_server_setup_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/dialogs/setup_fields.h"
#include "platform/text.h"
#include "whois/server_directory.h"

namespace qv {

CWhoisServerSetupDialog::CWhoisServerSetupDialog(const QString& server, QWidget* parent)
    : QDialog(parent), server_(server.trimmed()) {
  setWindowTitle(tr("Whois Server Setup"));
  const WhoisServerRecord record(ToStdString(server_), true);

  maxConnections_ = new QSpinBox(this);
  maxConnections_->setRange(1, 100);
  maxConnections_->setValue(record.maxConnections);
  interval_ = new QSpinBox(this);
  interval_->setRange(0, 86400);
  interval_->setValue(record.connectionInterval);
  webUrl_ = NewDirectoryTextBox(record.webUrl, this);
  owner_ = NewDirectoryTextBox(record.ownerName, this);
  removeLeftOf_ = NewDirectoryTextBox(record.removeLeftOf, this);
  removeRightOf_ = NewDirectoryTextBox(record.removeRightOf, this);

  auto* form = new QFormLayout;
  form->addRow(tr("Whois server:"), new QLabel(server_, this));
  form->addRow(tr("Allowed simultaneous connections:"), maxConnections_);
  form->addRow(tr("Minimum interval between connections (seconds):"), interval_);
  form->addRow(tr("Website URL:"), webUrl_);
  form->addRow(tr("Owned by:"), owner_);
  form->addRow(tr("Remove output left of (and including):"), removeLeftOf_);
  form->addRow(tr("Remove output right of (and including):"), removeRightOf_);

  auto* buttons = qv::OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void CWhoisServerSetupDialog::accept() {
  if (!server_.isEmpty()) {
    // Read again now: another dialog may have stored this server meanwhile.
    WhoisServerRecord record(ToStdString(server_), false);
    record.maxConnections = maxConnections_->value();
    record.connectionInterval = interval_->value();
    record.webUrl = ToStdString(webUrl_->text());
    record.ownerName = ToStdString(owner_->text());
    record.removeLeftOf = ToStdString(removeLeftOf_->text());
    record.removeRightOf = ToStdString(removeRightOf_->text());
    record.manuallyEdited = 1;
  }  // the record stores itself here
  QDialog::accept();
}

}  // namespace qv
