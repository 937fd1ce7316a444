#include "app/dialogs/sql_query_editor_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/field_names_dialog.h"
#include "app/prompts.h"
#include "platform/ascii.h"
#include "platform/text.h"

namespace qv {

CSqlQueryEditorDialog::CSqlQueryEditorDialog(const QueryEntry& entry, std::string documentPath,
                                             Prompts& prompts, std::vector<std::string> takenNames,
                                             QWidget* parent)
    : QDialog(parent), documentPath_(std::move(documentPath)), prompts_(prompts),
      takenNames_(std::move(takenNames)) {
  setWindowTitle(tr("SQL Query Editor"));
  name_ = new QLineEdit(ToQString(entry.name), this);
  comment_ = new QLineEdit(ToQString(entry.comment), this);
  QString sql = ToQString(entry.sql.empty() ? std::string(kNewQueryText) : entry.sql);
  sql_ = new QPlainTextEdit(sql.replace(QLatin1String("\r\n"), QLatin1String("\n")), this);
  auto* help = new QPlainTextEdit(QString::fromLatin1(kQueryHelpText).replace(QLatin1String("\r\n"), QLatin1String("\n")), this);
  help->setReadOnly(true);
  help->setMaximumHeight(110);

  auto* form = new QFormLayout;
  form->addRow(tr("Name: "), name_);
  form->addRow(tr("Comments: "), comment_);

  auto* buttons = new QDialogButtonBox(this);
  test_ = buttons->addButton(tr("&Test"), QDialogButtonBox::ActionRole);
  fields_ = buttons->addButton(tr("&Field Names..."), QDialogButtonBox::ActionRole);
  buttons->addButton(tr("&OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(test_, &QPushButton::clicked, this, &CSqlQueryEditorDialog::Test);
  connect(fields_, &QPushButton::clicked, this, [this] {
    CFieldNamesDialog dialog(documentPath_, this);
    dialog.exec();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(tr("SQL Query"), this));
  layout->addWidget(sql_, 1);
  layout->addWidget(help);
  layout->addWidget(buttons);
  resize(560, 420);
}

QueryEntry CSqlQueryEditorDialog::Entry() const {
  return {ToStdString(name_->text().trimmed()), ToStdString(comment_->text().trimmed()),
          ToStdString(sql_->toPlainText())};
}

void CSqlQueryEditorDialog::Test() {
  if (documentPath_.empty()) {
    prompts_.tell(this, tr(kTestNeedsDocumentText));
    return;
  }
  const std::string error = TestQuery(documentPath_, ToStdString(sql_->toPlainText()));
  prompts_.tell(this, error.empty() ? tr(kTestedOkText) : ToQString(error));
}

void CSqlQueryEditorDialog::accept() {
  const QueryEntry entry = Entry();
  if (entry.name.empty()) {
    prompts_.tell(this, tr(kQueryNameNeededText));
    return;
  }
  for (const std::string& taken : takenNames_)
    if (EqualsNoCase(taken, entry.name)) {
      prompts_.tell(this, tr(kQueryNameTakenText).arg(ToQString(entry.name)));
      return;
    }
  QDialog::accept();
}

}  // namespace qv
