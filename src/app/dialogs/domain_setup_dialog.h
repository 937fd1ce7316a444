// "Domain Setup": the whois server of a name's TLD key and how that server is
// queried (query prefix, port) and read (the search token that marks a free
// name). Confirming stores the key's server and the server record as edited
// by hand (`Manually Edited` 1). It also shows the RDAP service of the key:
// the shipped one (greyed, as a hint) or the `RDAP URL` the user stored.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "app/prompts.h"

class QLineEdit;
class QSpinBox;

namespace qv {

inline constexpr const char* kSpecifyServerText = "Please specify a whois server";
inline constexpr const char* kBadRdapUrlText =
    "The RDAP URL must be an https:// (or http://) address to which the domain name is appended";

class CDomainSetupDialog : public QDialog {
  Q_OBJECT

 public:
  // `domainName` is a name under the key to set up ("example.co.uk").
  CDomainSetupDialog(const QString& domainName, QWidget* parent = nullptr);

  QString Key() const { return key_; }
  QLineEdit* ServerBox() const { return server_; }
  QLineEdit* PrefixBox() const { return prefix_; }
  QSpinBox* PortBox() const { return port_; }
  QLineEdit* TokenBox() const { return token_; }
  QLineEdit* RdapBox() const { return rdap_; }

  // The messages it shows (tests answer them).
  Prompts prompts = DefaultPrompts();
  // Opens "Whois Server Setup" for a server; tests replace it.
  std::function<void(const QString& server)> openServerSetup;

 public slots:
  void accept() override;
  // The "Whois Server Settings..." button.
  void OnServerSettings();

 private:
  void LoadServer(const QString& server);

  QString key_;
  QLineEdit* server_;
  QLineEdit* prefix_;
  QSpinBox* port_;
  QLineEdit* token_;
  QLineEdit* rdap_;
};

}  // namespace qv
