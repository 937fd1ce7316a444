#include "app/dialogs/tld_list_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/domain_setup_dialog.h"
#include "platform/text.h"
#include "whois/server_directory.h"

namespace qv {

QString TrimTldEntry(const QString& typed) {
  static const QString kTrimmed = QStringLiteral(" \r\n.;:\t");
  qsizetype first = 0;
  qsizetype last = typed.size();
  while (first < last && kTrimmed.contains(typed[first])) ++first;
  while (last > first && kTrimmed.contains(typed[last - 1])) --last;
  return typed.mid(first, last - first);
}

CTldListDialog::CTldListDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Top Level & Country Code List"));
  auto* hint = new QLabel(tr("Please specify the second level domains whenever appropriate. "
                             "For example, enter co.uk, com.au, co.in, etc. instead of uk, au, etc."),
                          this);
  hint->setWordWrap(true);
  entry_ = new QLineEdit(this);
  list_ = new QListWidget(this);
  for (const std::string& tld : LoadTldList()) list_->addItem(ToQString(tld));

  auto* add = new QPushButton(tr("&Add"), this);
  auto* remove = new QPushButton(tr("&Delete"), this);
  auto* up = new QPushButton(tr("Move Up"), this);
  auto* down = new QPushButton(tr("Move Down"), this);
  auto* settings = new QPushButton(tr("Settings..."), this);
  add->setDefault(true);  // Enter in the box adds what was typed
  add->setObjectName(QStringLiteral("add"));
  remove->setObjectName(QStringLiteral("delete"));
  up->setObjectName(QStringLiteral("moveUp"));
  down->setObjectName(QStringLiteral("moveDown"));
  settings->setObjectName(QStringLiteral("settings"));
  connect(add, &QPushButton::clicked, this, &CTldListDialog::OnAdd);
  connect(remove, &QPushButton::clicked, this, &CTldListDialog::OnDelete);
  connect(up, &QPushButton::clicked, this, &CTldListDialog::OnMoveUp);
  connect(down, &QPushButton::clicked, this, &CTldListDialog::OnMoveDown);
  connect(settings, &QPushButton::clicked, this, &CTldListDialog::OnSettings);

  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* grid = new QGridLayout;
  grid->addWidget(entry_, 0, 0);
  grid->addWidget(add, 0, 1);
  grid->addWidget(list_, 1, 0, 5, 1);
  grid->addWidget(remove, 1, 1);
  grid->addWidget(up, 2, 1);
  grid->addWidget(down, 3, 1);
  grid->addWidget(settings, 4, 1);
  grid->setRowStretch(5, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(hint);
  layout->addLayout(grid);
  layout->addWidget(close);

  openDomainSetup = [this](const QString& domainName) {
    CDomainSetupDialog dialog(domainName, this);
    dialog.prompts = prompts;
    dialog.exec();
  };
}

QStringList CTldListDialog::Entries() const {
  QStringList entries;
  for (int i = 0; i < list_->count(); ++i) entries << list_->item(i)->text();
  return entries;
}

void CTldListDialog::OnAdd() {
  const QString entry = TrimTldEntry(entry_->text());
  if (entry.isEmpty()) return;
  list_->addItem(entry);
  list_->setCurrentRow(list_->count() - 1);
  entry_->clear();
  changed_ = true;
}

void CTldListDialog::OnDelete() {
  const int row = list_->currentRow();
  if (row < 0) return;
  delete list_->takeItem(row);
  changed_ = true;
}

void CTldListDialog::Move(int step) {
  const int row = list_->currentRow();
  const int to = row + step;
  if (row < 0 || to < 0 || to >= list_->count()) return;
  list_->insertItem(to, list_->takeItem(row));
  list_->setCurrentRow(to);
  changed_ = true;
}

void CTldListDialog::OnMoveUp() { Move(-1); }
void CTldListDialog::OnMoveDown() { Move(1); }

void CTldListDialog::OnSettings() {
  const QListWidgetItem* item = list_->currentItem();
  if (!item || !item->isSelected()) {
    prompts.tell(this, tr(kSelectTldText));
    return;
  }
  if (openDomainSetup) openDomainSetup(QStringLiteral("example.") + item->text());
}

void CTldListDialog::done(int result) {
  if (changed_) {
    std::vector<std::string> entries;
    for (const QString& entry : Entries()) entries.push_back(ToStdString(entry));
    SaveTldList(entries);
    changed_ = false;
  }
  QDialog::done(result);
}

}  // namespace qv
