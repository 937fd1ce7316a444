#include "app/dialogs/sql_query_setup_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/dialogs/sql_query_editor_dialog.h"
#include "app/prompts.h"
#include "platform/text.h"

namespace qv {
namespace {

SqlDialogRunner& Runner() {
  static SqlDialogRunner runner;
  return runner;
}

}  // namespace

void SetSqlDialogRunnerForTests(SqlDialogRunner runner) { Runner() = std::move(runner); }

int RunSqlDialog(QDialog& dialog) { return Runner() ? Runner()(dialog) : dialog.exec(); }

void FillQueryList(QTreeWidget* list, const std::vector<QueryEntry>& entries, bool showSql) {
  list->clear();
  list->setRootIsDecorated(false);
  list->setFont(QFont(QStringLiteral("Verdana")));
  list->setHeaderLabels({QObject::tr("Name"), showSql ? QObject::tr("SQL Lookup Query") : QObject::tr("Comment")});
  for (const QueryEntry& entry : entries) {
    QString second = ToQString(showSql ? entry.sql : entry.comment);
    second.replace(QLatin1String("\r\n"), QLatin1String(" "));
    list->addTopLevelItem(new QTreeWidgetItem({ToQString(entry.name), second}));
  }
  list->header()->resizeSection(0, 260);
}

CSqlQuerySetupDialog::CSqlQuerySetupDialog(QueryKind kind, std::string documentPath, Prompts& prompts,
                                           QWidget* parent)
    : QDialog(parent), kind_(kind), documentPath_(std::move(documentPath)), prompts_(prompts),
      entries_(LoadQueries(kind)) {
  setWindowTitle(tr("SQL Query Setup"));
  list_ = new QTreeWidget(this);
  Refill(0);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { ModifyQuery(); });

  auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
  const std::pair<const char*, void (CSqlQuerySetupDialog::*)()> actions[] = {
      {"&New...", &CSqlQuerySetupDialog::NewQuery},
      {"&Modify...", &CSqlQuerySetupDialog::ModifyQuery},
      {"&Delete...", &CSqlQuerySetupDialog::DeleteQuery},
      {"&Select", &CSqlQuerySetupDialog::SelectQuery},
  };
  for (const auto& [label, run] : actions) {
    QPushButton* button = buttons->addButton(tr(label), QDialogButtonBox::ActionRole);
    connect(button, &QPushButton::clicked, this, run);
  }
  buttons->addButton(tr("&Close"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* row = new QHBoxLayout;
  row->addWidget(list_, 1);
  row->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr(kQuerySetupHeading), this));
  layout->addLayout(row);
  resize(700, 420);
}

void CSqlQuerySetupDialog::Refill(int currentRow) {
  FillQueryList(list_, entries_, false);
  if (currentRow >= 0 && currentRow < list_->topLevelItemCount())
    list_->setCurrentItem(list_->topLevelItem(currentRow));
}

std::vector<std::string> CSqlQuerySetupDialog::NamesBut(int row) const {
  std::vector<std::string> names;
  for (int i = 0; i < int(entries_.size()); ++i)
    if (i != row) names.push_back(entries_[std::size_t(i)].name);
  return names;
}

void CSqlQuerySetupDialog::NewQuery() {
  CSqlQueryEditorDialog editor(QueryEntry{}, documentPath_, prompts_, NamesBut(-1), this);
  if (RunSqlDialog(editor) != QDialog::Accepted) return;
  entries_.push_back(editor.Entry());
  SaveQueries(kind_, entries_);
  Refill(int(entries_.size()) - 1);
}

void CSqlQuerySetupDialog::ModifyQuery() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  if (row < 0) return;
  CSqlQueryEditorDialog editor(entries_[std::size_t(row)], documentPath_, prompts_, NamesBut(row), this);
  if (RunSqlDialog(editor) != QDialog::Accepted) return;
  entries_[std::size_t(row)] = editor.Entry();
  SaveQueries(kind_, entries_);
  Refill(row);
}

void CSqlQuerySetupDialog::DeleteQuery() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  if (row < 0) return;
  const QString text = tr(kDeleteQueryText).arg(ToQString(entries_[std::size_t(row)].name));
  if (prompts_.ask(this, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) != QMessageBox::Yes)
    return;
  entries_.erase(entries_.begin() + row);
  SaveQueries(kind_, entries_);
  Refill(std::min(row, int(entries_.size()) - 1));
}

void CSqlQuerySetupDialog::SelectQuery() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  if (row < 0) return;
  selected_ = entries_[std::size_t(row)].name;
  accept();
}

}  // namespace qv
