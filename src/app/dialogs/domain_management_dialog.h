// "Domain Management Settings": the management page of the selected domain's
// registrar with the user's login, and "Go  >>" to open it in the browser
// logged in. The settings are kept when the dialog is closed.
#pragma once

#include <QDialog>
#include <string>

#include "webcheck/registrar_links.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qv {

struct Prompts;

inline constexpr const char* kManagementHelpTitle = "Domain Management Help";
inline constexpr const char* kManagementHelpText =
    "Keep here, for each registrar, the address of the page where you manage your domains and "
    "your login there. \"Go  >>\" opens that page in your web browser with the login filled "
    "in.\n\n"
    "In the URL and in the POST variables, {login} stands for your user name, {password} for "
    "your password and {domain} for the selected domain name.\n\n"
    "Without \"Use POST Method\" the URL is opened as it is, for example\n"
    "https://registrar.example/manage?user={login}&domain={domain}\n\n"
    "With it, the URL is the address of the login form and the POST variables are the form's "
    "fields, one name=value a line, for example\n"
    "username={login}\npassword={password}\n\n"
    "The settings are kept per registrar (its alias when it has one) and saved when you close "
    "the dialog; the password is stored enciphered.";

class CDomainManagementDialog : public QDialog {
  Q_OBJECT

 public:
  CDomainManagementDialog(std::string key, std::string domain, Prompts& prompts, QWidget* parent = nullptr);

  RegistrarSettings Settings() const;
  const std::string& Key() const { return key_; }

  QLineEdit* UrlEdit() const { return url_; }
  QLineEdit* LoginEdit() const { return login_; }
  QLineEdit* PasswordEdit() const { return password_; }
  QCheckBox* UsePostBox() const { return usePost_; }
  QPlainTextEdit* PostDataEdit() const { return postData_; }
  QPushButton* GoButton() const { return go_; }

  // Opens the page: the filled-in address, or the login form posted from a
  // temporary page. False when nothing was opened.
  bool Go();
  // Saves the settings under the key, then closes.
  void done(int result) override;

 private:
  std::string key_;
  std::string domain_;
  Prompts& prompts_;
  QLineEdit* url_ = nullptr;
  QLineEdit* login_ = nullptr;
  QLineEdit* password_ = nullptr;
  QCheckBox* usePost_ = nullptr;
  QPlainTextEdit* postData_ = nullptr;
  QPushButton* go_ = nullptr;
};

}  // namespace qv
