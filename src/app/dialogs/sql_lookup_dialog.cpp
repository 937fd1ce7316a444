#include "app/dialogs/sql_lookup_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/dialogs/lookup_check_group.h"
#include "app/dialogs/ok_cancel_buttons.h"
#include "app/dialogs/sql_query_setup_dialog.h"
#include "app/prompts.h"
#include "platform/ascii.h"
#include "platform/text.h"

namespace qv {

CSqlLookupDialog::CSqlLookupDialog(const LookupDialogValues& values, const std::string& queryName,
                                   std::string documentPath, Prompts& prompts, QWidget* parent)
    : QDialog(parent), values_(values), documentPath_(std::move(documentPath)), prompts_(prompts),
      entries_(LoadQueries(QueryKind::Lookup)) {
  setWindowTitle(tr("Lookup"));
  checks_ = new LookupCheckGroup(tr("Select the desired lookups options"), values, this);

  auto* queryGroup = new QGroupBox(tr(kSqlLookupHeading), this);
  list_ = new QTreeWidget(queryGroup);
  FillQueryList(list_, entries_, true);
  SelectQuery(queryName);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &CSqlLookupDialog::accept);
  setup_ = new QPushButton(tr("Setup SQL Queries..."), queryGroup);
  connect(setup_, &QPushButton::clicked, this, &CSqlLookupDialog::RunSetup);
  auto* queryLayout = new QVBoxLayout(queryGroup);
  queryLayout->addWidget(list_, 1);
  queryLayout->addWidget(setup_, 0, Qt::AlignLeft);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(checks_);
  layout->addWidget(queryGroup, 1);
  layout->addWidget(OkCancelButtons(this));
  resize(640, 560);
}

QCheckBox* CSqlLookupDialog::CheckBox(CLookupDialog::Check check) const { return checks_->Box(check); }

QCheckBox* CSqlLookupDialog::SelectAllBox() const { return checks_->SelectAllBox(); }

void CSqlLookupDialog::SetOffered(CLookupDialog::Check check, bool offered) {
  checks_->SetOffered(check, offered);
}

void CSqlLookupDialog::SelectQuery(const std::string& name) {
  for (int i = 0; i < int(entries_.size()); ++i)
    if (EqualsNoCase(entries_[std::size_t(i)].name, name)) {
      list_->setCurrentItem(list_->topLevelItem(i));
      return;
    }
}

LookupDialogValues CSqlLookupDialog::Values() const {
  LookupDialogValues v = values_;
  checks_->ReadInto(v);
  return v;
}

std::string CSqlLookupDialog::QueryName() const {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  return row < 0 || !list_->currentItem()->isSelected() ? std::string() : entries_[std::size_t(row)].name;
}

void CSqlLookupDialog::accept() {
  if (QueryName().empty()) {
    prompts_.tell(this, tr(kSelectSqlQueryText));
    return;
  }
  QDialog::accept();
}

void CSqlLookupDialog::RunSetup() {
  const std::string current = QueryName();
  CSqlQuerySetupDialog setup(QueryKind::Lookup, documentPath_, prompts_, this);
  const bool selected = RunSqlDialog(setup) == QDialog::Accepted;
  entries_ = LoadQueries(QueryKind::Lookup);
  FillQueryList(list_, entries_, true);
  SelectQuery(selected ? setup.SelectedName() : current);
}

}  // namespace qv
