#include "app/dialogs/sql_lookup_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

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
  const char* labels[CLookupDialog::kCheckCount] = {"DNS: Find IP Addresses", "Domain Whois Lookup",
                                                     "Ping Check",             "Http Page Check",
                                                     "Link Pop Check",         "US Tm Check"};
  const bool states[CLookupDialog::kCheckCount] = {values.dns,  values.whois,   values.ping,
                                                   values.http, values.linkPop, values.usTm};
  auto* checkGroup = new QGroupBox(tr("Select the desired lookups options"), this);
  auto* checkLayout = new QVBoxLayout(checkGroup);
  for (int i = 0; i < CLookupDialog::kCheckCount; ++i) {
    checks_[i] = new QCheckBox(tr(labels[i]), checkGroup);
    checks_[i]->setChecked(states[i]);
    checkLayout->addWidget(checks_[i]);
  }
  selectAll_ = new QCheckBox(tr("Select / Unselect All"), checkGroup);
  checkLayout->addWidget(selectAll_);
  connect(selectAll_, &QCheckBox::toggled, this, [this](bool on) {
    for (QCheckBox* box : checks_)
      if (box->isEnabled()) box->setChecked(on);
  });

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
  layout->addWidget(checkGroup);
  layout->addWidget(queryGroup, 1);
  layout->addWidget(OkCancelButtons(this));
  resize(640, 560);
}

void CSqlLookupDialog::SetOffered(CLookupDialog::Check check, bool offered) {
  checks_[check]->setEnabled(offered);
  if (!offered) checks_[check]->setChecked(false);
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
  v.dns = checks_[CLookupDialog::kDns]->isChecked();
  v.whois = checks_[CLookupDialog::kWhois]->isChecked();
  v.ping = checks_[CLookupDialog::kPing]->isChecked();
  v.http = checks_[CLookupDialog::kHttp]->isChecked();
  v.linkPop = checks_[CLookupDialog::kLinkPop]->isChecked();
  v.usTm = checks_[CLookupDialog::kUsTm]->isChecked();
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
