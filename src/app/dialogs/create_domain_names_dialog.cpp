#include "app/dialogs/create_domain_names_dialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/commands/file_filters.h"
#include "app/dialogs/ok_cancel_buttons.h"
#include "platform/text.h"
#include "store/simple_names.h"

namespace qv {

CCreateDomainNamesDialog::CCreateDomainNamesDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Create Domain Names"));
  auto* intro = new QLabel(tr("Please type in domain names in the box below. Separate each name with "
                              "a comma, space or new line."),
                           this);
  intro->setWordWrap(true);
  text_ = new QPlainTextEdit(this);
  auto* insert = new QPushButton(tr("Insert from a text file..."), this);
  connect(insert, &QPushButton::clicked, this, &CCreateDomainNamesDialog::OnInsertFromFile);
  auto* note = new QLabel(tr("Use the 'Insert from text file' button for small lists. For larger "
                             "lists, use the 'Import From Large Text File' option in the main "
                             "program menu."),
                          this);
  note->setWordWrap(true);

  tlds_ = new QListWidget(this);
  FillTldCheckList(tlds_);
  auto* selectAll = new QPushButton(tr("&Select All"), this);
  auto* unselectAll = new QPushButton(tr("&Unselect All"), this);
  connect(selectAll, &QPushButton::clicked, this, &CCreateDomainNamesDialog::OnSelectAll);
  connect(unselectAll, &QPushButton::clicked, this, &CCreateDomainNamesDialog::OnUnselectAll);

  auto* buttons = qv::OkCancelButtons(this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(intro, 0, 0, 1, 2);
  grid->addWidget(text_, 1, 0, 1, 2);
  grid->addWidget(insert, 2, 0);
  grid->addWidget(note, 3, 0, 1, 2);
  grid->addWidget(new QLabel(tr("Create names for the following  top level domains."), this), 4, 0, 1, 2);
  grid->addWidget(tlds_, 5, 0, 3, 1);
  grid->addWidget(selectAll, 5, 1);
  grid->addWidget(unselectAll, 6, 1);
  grid->addWidget(buttons, 8, 0, 1, 2);
  grid->setRowStretch(1, 1);
}

QStringList CCreateDomainNamesDialog::TickedTlds() const {
  QStringList ticked;
  for (int i = 0; i < tlds_->count(); ++i)
    if (tlds_->item(i)->checkState() == Qt::Checked) ticked << tlds_->item(i)->text();
  return ticked;
}

std::vector<std::string> CCreateDomainNamesDialog::Names() const {
  std::vector<std::string> domains;
  for (const QString& tld : TickedTlds()) domains.push_back(ToStdString(tld));
  return MakeSimpleDomainNames(ToStdString(text_->toPlainText()), domains);
}

void CCreateDomainNamesDialog::SetAllTicks(bool ticked) { SetAllTldTicks(tlds_, ticked); }

void CCreateDomainNamesDialog::OnSelectAll() { SetAllTicks(true); }
void CCreateDomainNamesDialog::OnUnselectAll() { SetAllTicks(false); }

bool CCreateDomainNamesDialog::InsertFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  QString text = text_->toPlainText();
  if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n'))) text += QLatin1Char('\n');
  text_->setPlainText(text + ToQString(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
  return true;
}

void CCreateDomainNamesDialog::OnInsertFromFile() {
  const QString path = prompts.openFile(this, tr("Insert from a text file"), QString::fromLatin1(kTextFilesFilter));
  if (path.isEmpty()) return;
  if (!InsertFile(path)) prompts.tell(this, tr("The file %1 could not be read.").arg(path));
}

void CCreateDomainNamesDialog::accept() {
  SaveTldTicks(tlds_);
  QDialog::accept();
}

}  // namespace qv
