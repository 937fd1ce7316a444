#include "app/dialogs/string_tokens_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/date_format_dialog.h"
#include "app/dialogs/domain_setup_dialog.h"
#include "app/dialogs/known_whois_servers.h"
#include "app/dialogs/ok_cancel_buttons.h"
#include "app/dialogs/token_box_text.h"
#include "app/main_frame.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "whois/field_extraction.h"
#include "whois/server_directory.h"
#include "whois/token_keys.h"

namespace qv {
namespace {

// The name a field goes by in the chooser: its settings key less " Tokens".
QString FieldTitle(const TokenKey& key) {
  std::string_view title = key.settingsKey;
  constexpr std::string_view kSuffix = " Tokens";
  if (title.ends_with(kSuffix)) title.remove_suffix(kSuffix.size());
  return ToQString(title);
}

int FieldIndex(std::string_view settingsKey) {
  for (std::size_t i = 0; i < kTokenKeys.size(); ++i)
    if (kTokenKeys[i].settingsKey == settingsKey) return int(i);
  return 0;
}

QPushButton* NewButton(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CStringTokensDialog::CStringTokensDialog(const QString& domainServer, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Whois Output Data Tokens"));
  QString start = ToQString(GetProfileString(kSettingsSection, kTokenServerNameKey, "")).trimmed();
  if (start.isEmpty()) start = domainServer.trimmed();

  serverBox_ = new QComboBox(this);
  serverBox_->setEditable(true);
  serverBox_->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& host : KnownWhoisServers({ToStdString(start), ToStdString(domainServer)}))
    serverBox_->addItem(ToQString(host));
  fieldBox_ = new QComboBox(this);
  for (const TokenKey& key : kTokenKeys) fieldBox_->addItem(FieldTitle(key));
  tokenBox_ = new QPlainTextEdit(this);
  tokenBox_->setLineWrapMode(QPlainTextEdit::NoWrap);

  auto* insertGeneric = NewButton(tr("Insert Generic Tokens"), "insertGeneric", this);
  auto* clear = NewButton(tr("Cl&ear"), "clear", this);
  auto* dateFormat = NewButton(tr("Date Format..."), "dateFormat", this);
  connect(insertGeneric, &QPushButton::clicked, this, &CStringTokensDialog::OnInsertGenericTokens);
  connect(clear, &QPushButton::clicked, this, &CStringTokensDialog::OnClear);
  connect(dateFormat, &QPushButton::clicked, this, &CStringTokensDialog::OnDateFormat);

  auto* form = new QFormLayout;
  form->addRow(tr("Whois server:"), serverBox_);
  form->addRow(tr("Data field:"), fieldBox_);
  auto* boxLabel = new QLabel(tr("Please enter the various string tokens used by the whois server "
                                 "to identify  the above data (one entry per line)"),
                              this);
  boxLabel->setWordWrap(true);
  auto* hint = new QLabel(tr("Leaving the above box empty will cause the software to parse the "
                             "whois output using generic tokens."),
                          this);
  hint->setWordWrap(true);
  auto* boxButtons = new QHBoxLayout;
  boxButtons->addWidget(insertGeneric);
  boxButtons->addWidget(clear);
  boxButtons->addStretch(1);
  boxButtons->addWidget(dateFormat);
  auto* buttons = qv::OkCancelButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(boxLabel);
  layout->addWidget(tokenBox_, 1);
  layout->addLayout(boxButtons);
  layout->addWidget(hint);
  layout->addWidget(buttons);
  resize(520, 420);

  openDateFormat = [this](const QString& server) {
    CDateFormatDialog dialog(server, this);
    dialog.exec();
  };

  server_ = start;
  serverBox_->setEditText(server_);
  LoadBox();
  // A server is taken when it is picked from the list or its typing is done,
  // not at every key, so no half-typed host ever holds an edit.
  connect(serverBox_, &QComboBox::activated, this, [this] { ShowChosen(); });
  connect(serverBox_->lineEdit(), &QLineEdit::editingFinished, this, [this] { ShowChosen(); });
  connect(fieldBox_, &QComboBox::currentIndexChanged, this, [this] { ShowChosen(); });
}

CStringTokensDialog::EditKey CStringTokensDialog::CurrentKey() const {
  return {DirectorySection(ToStdString(server_)), std::string(kTokenKeys[std::size_t(field_)].settingsKey)};
}

void CStringTokensDialog::KeepEdit() {
  const QString text = tokenBox_->toPlainText();
  if (text == storedBoxText_)
    edits_.erase(CurrentKey());
  else
    edits_[CurrentKey()] = text;
}

void CStringTokensDialog::LoadBox() {
  const std::string stored =
      ReadServerTokens(ToStdString(server_), kTokenKeys[std::size_t(field_)].settingsKey);
  storedBoxText_ = ToQString(TokenBoxText(stored));
  const auto edit = edits_.find(CurrentKey());
  tokenBox_->setPlainText(edit != edits_.end() ? edit->second : storedBoxText_);
}

void CStringTokensDialog::ShowChosen() {
  const QString server = serverBox_->currentText().trimmed();
  const int field = std::max(fieldBox_->currentIndex(), 0);
  if (server == server_ && field == field_) return;
  KeepEdit();
  server_ = server;
  field_ = field;
  LoadBox();
}

void CStringTokensDialog::Select(const QString& server, int field) {
  serverBox_->setEditText(server.trimmed());
  fieldBox_->setCurrentIndex(field);  // follows the choosers itself when it changes
  ShowChosen();
}

void CStringTokensDialog::OnInsertGenericTokens() {
  tokenBox_->setPlainText(
      ToQString(GenericTokenBoxText(kTokenKeys[std::size_t(field_)].settingsKey)));
}

void CStringTokensDialog::OnClear() { tokenBox_->clear(); }

void CStringTokensDialog::OnDateFormat() {
  ShowChosen();
  if (server_.isEmpty()) {
    prompts.tell(this, tr(kSpecifyServerText));
    return;
  }
  if (openDateFormat) openDateFormat(server_);
}

bool CStringTokensDialog::EditsStorable() {
  for (const auto& [key, text] : edits_) {
    const std::string list = StoredTokenList(ToStdString(text));
    const bool noServer = key.first.empty() && !list.empty();
    if (!noServer && list.size() <= kDirectStringMax) continue;
    // Show the list that cannot be stored; the edits are kept as they are.
    const QString server = ToQString(key.first);
    const int field = FieldIndex(key.second);
    const QString message =
        noServer ? tr(kSpecifyServerText)
                 : tr("The %1 tokens of %2 take %3 bytes, but at most %4 can be stored.\n"
                      "Please shorten the list.")
                       .arg(FieldTitle(kTokenKeys[std::size_t(field)]), server)
                       .arg(qulonglong(list.size()))
                       .arg(qulonglong(kDirectStringMax));
    Select(server, field);
    prompts.tell(this, message);
    return false;
  }
  return true;
}

void CStringTokensDialog::accept() {
  ShowChosen();
  KeepEdit();
  if (!EditsStorable()) return;
  for (const auto& [key, text] : edits_) {
    if (key.first.empty()) continue;
    const std::string list = StoredTokenList(ToStdString(text));
    if (list != ReadServerTokens(key.first, key.second)) WriteServerTokens(key.first, key.second, list);
  }
  edits_.clear();
  if (!server_.isEmpty()) WriteProfileString(kSettingsSection, kTokenServerNameKey, ToStdString(server_));
  QDialog::accept();
}

void RunStringTokensDialog(CMainFrame& frame) {
  const QStringList selected = frame.SelectedNames();
  const std::string domainServer =
      selected.isEmpty() ? std::string()
                         : DomainWhoisServer(frame.Document().IsOpen() ? &frame.Document().Database() : nullptr,
                                             ToStdString(selected.first()));
  CStringTokensDialog dialog(ToQString(domainServer), &frame);
  dialog.prompts = frame.UserPrompts();
  dialog.exec();
}

}  // namespace qv
