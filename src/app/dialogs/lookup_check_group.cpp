#include "app/dialogs/lookup_check_group.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace qv {

LookupCheckGroup::LookupCheckGroup(const QString& title, const LookupDialogValues& values, QWidget* parent)
    : QGroupBox(title, parent) {
  const char* labels[CLookupDialog::kCheckCount] = {"DNS: Find IP Addresses", "Domain Whois Lookup",
                                                     "Ping Check",             "Http Page Check",
                                                     "Link Pop Check",         "US Tm Check"};
  const bool states[CLookupDialog::kCheckCount] = {values.dns,  values.whois,   values.ping,
                                                   values.http, values.linkPop, values.usTm};
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < CLookupDialog::kCheckCount; ++i) {
    checks_[i] = new QCheckBox(tr(labels[i]), this);
    checks_[i]->setChecked(states[i]);
    layout->addWidget(checks_[i]);
  }
  selectAll_ = new QCheckBox(tr("Select / Unselect All"), this);
  layout->addWidget(selectAll_);
  connect(selectAll_, &QCheckBox::toggled, this, [this](bool on) {
    for (QCheckBox* box : checks_)
      if (box->isEnabled()) box->setChecked(on);
  });
}

void LookupCheckGroup::SetOffered(CLookupDialog::Check check, bool offered) {
  checks_[check]->setEnabled(offered);
  if (!offered) checks_[check]->setChecked(false);
}

void LookupCheckGroup::ReadInto(LookupDialogValues& values) const {
  values.dns = checks_[CLookupDialog::kDns]->isChecked();
  values.whois = checks_[CLookupDialog::kWhois]->isChecked();
  values.ping = checks_[CLookupDialog::kPing]->isChecked();
  values.http = checks_[CLookupDialog::kHttp]->isChecked();
  values.linkPop = checks_[CLookupDialog::kLinkPop]->isChecked();
  values.usTm = checks_[CLookupDialog::kUsTm]->isChecked();
}

}  // namespace qv
