#include "app/dialogs/domain_setup_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/dialogs/setup_fields.h"
#include "app/dialogs/whois_server_setup_dialog.h"
#include "platform/text.h"
#include "whois/rdap_directory.h"
#include "whois/server_directory.h"

namespace qv {

CDomainSetupDialog::CDomainSetupDialog(const QString& domainName, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Domain Setup"));
  QString server;
  {
    const TldRecord tld = ServerForName(ToStdString(domainName.trimmed()));
    key_ = ToQString(tld.key);
    server = ToQString(tld.server);
  }
  server_ = NewDirectoryTextBox(ToStdString(server), this);
  prefix_ = NewDirectoryTextBox({}, this);
  port_ = new QSpinBox(this);
  port_->setRange(1, 65535);
  token_ = NewDirectoryTextBox({}, this);
  LoadServer(server);
  rdap_ = NewDirectoryTextBox(StoredRdapUrlOfSuffix(ToStdString(key_)), this);
  {
    const RdapService shipped = RdapServiceForName(ToStdString(domainName.trimmed()));
    rdap_->setPlaceholderText(shipped.overridden ? QString() : ToQString(shipped.baseUrl));
  }

  auto* tokenNote = new QLabel(tr("Search Token: A unique string that is present in whois output "
                                  "whenever the domain is available for registration."),
                               this);
  tokenNote->setWordWrap(true);
  auto* serverSettings = new QPushButton(tr("Whois Server Settings..."), this);
  connect(serverSettings, &QPushButton::clicked, this, &CDomainSetupDialog::OnServerSettings);

  auto* form = new QFormLayout;
  form->addRow(tr("Domain name:"), new QLabel(domainName.trimmed(), this));
  form->addRow(tr("Top level domain:"), new QLabel(key_, this));
  form->addRow(tr("Whois server:"), server_);
  form->addRow(tr("Query prefix:"), prefix_);
  form->addRow(tr("Port:"), port_);
  form->addRow(tokenNote);
  form->addRow(tr("Search token:"), token_);
  form->addRow(tr("RDAP URL:"), rdap_);

  auto* buttons = qv::OkCancelButtons(this);
  buttons->addButton(serverSettings, QDialogButtonBox::ActionRole);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);

  openServerSetup = [this](const QString& host) {
    CWhoisServerSetupDialog dialog(host, this);
    dialog.exec();
  };
}

void CDomainSetupDialog::LoadServer(const QString& server) {
  const WhoisServerRecord record(ToStdString(server), true);
  prefix_->setText(ToQString(record.queryPrefix));
  port_->setValue(record.port >= 1 && record.port <= 65535 ? record.port : 43);
  token_->setText(ToQString(record.tokenWhenFree));
}

void CDomainSetupDialog::OnServerSettings() {
  const QString server = server_->text().trimmed();
  if (server.isEmpty()) {
    prompts.tell(this, tr(kSpecifyServerText));
    return;
  }
  if (openServerSetup) openServerSetup(server);
}

void CDomainSetupDialog::accept() {
  const std::string rdap = ToStdString(rdap_->text().trimmed());
  if (!rdap.empty() && RdapQueryUrl(rdap, "example.com").empty()) {
    prompts.tell(this, tr(kBadRdapUrlText));
    return;
  }
  StoreRdapUrlOfSuffix(ToStdString(key_), rdap);
  const std::string server = ToStdString(server_->text().trimmed());
  {
    TldRecord tld(ToStdString(key_));
    tld.server = server;
  }  // the key's server is stored here
  if (!server.empty()) {
    // Read again now: "Whois Server Setup" may have stored it meanwhile.
    WhoisServerRecord record(server, false);
    record.queryPrefix = ToStdString(prefix_->text());
    record.port = port_->value();
    record.tokenWhenFree = ToStdString(token_->text());
    record.manuallyEdited = 1;
  }  // and the server record here
  QDialog::accept();
}

}  // namespace qv
