// "Whois Output Data Tokens": each whois server's own labels for the thirteen
// fields read out of its answers, edited one label per line. A box left empty
// lets the generic labels apply to that field.
//
// Edits are kept per server and field while the dialog is open, so the user
// may go through several fields (and servers) and confirm them all at once;
// OK writes every list that changed, Cancel none.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "app/prompts.h"

class CMainFrame;
class QComboBox;
class QPlainTextEdit;

namespace qv {

// Settings (section "Settings"): the server chosen last in the dialog.
inline constexpr const char* kTokenServerNameKey = "Whois Server Token Name";

class CStringTokensDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens at the server chosen last, or at `domainServer` (the selected
  // domain's server) when none was; both are offered with the known servers.
  explicit CStringTokensDialog(const QString& domainServer = {}, QWidget* parent = nullptr);

  QComboBox* ServerBox() const { return serverBox_; }
  QComboBox* FieldBox() const { return fieldBox_; }
  QPlainTextEdit* TokenBox() const { return tokenBox_; }
  // The server and the field (index into kTokenKeys) the box belongs to.
  QString Server() const { return server_; }
  int Field() const { return field_; }
  // Shows a server and field as if the user had chosen them.
  void Select(const QString& server, int field);

  // The messages it shows (tests answer them).
  Prompts prompts = DefaultPrompts();
  // Opens "Date Format" for a server; tests replace it.
  std::function<void(const QString& server)> openDateFormat;

 public slots:
  void accept() override;
  void OnInsertGenericTokens();
  void OnClear();
  void OnDateFormat();

 private:
  using EditKey = std::pair<std::string, std::string>;  // server section, settings key

  // Follows the choosers: keeps the box's edit and shows the newly chosen list.
  void ShowChosen();
  void KeepEdit();
  void LoadBox();
  EditKey CurrentKey() const;
  // True when every edited list can be stored; otherwise tells the user and
  // shows the first that cannot.
  bool EditsStorable();

  QComboBox* serverBox_;
  QComboBox* fieldBox_;
  QPlainTextEdit* tokenBox_;
  QString server_;
  int field_ = 0;
  QString storedBoxText_;  // the box text of what the store holds now
  std::map<EditKey, QString> edits_;
};

// The "String Tokens" command.
void RunStringTokensDialog(CMainFrame& frame);

}  // namespace qv
