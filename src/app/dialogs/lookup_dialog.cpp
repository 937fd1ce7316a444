#include "app/dialogs/lookup_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

#include "app/dialogs/lookup_check_group.h"
#include "app/dialogs/ok_cancel_buttons.h"
#include "platform/settings_store.h"

namespace qv {
namespace {

bool ReadSwitch(const char* key, bool defaultOn) {
  return GetProfileInt(kSettingsSection, key, defaultOn ? 1 : 0) != 0;
}

}  // namespace

LookupDialogValues LookupDialogValues::Load() {
  LookupDialogValues v;
  v.dns = ReadSwitch(kRunDnsKey, true);
  v.whois = ReadSwitch(kRunWhoisKey, true);
  v.ping = ReadSwitch(kRunPingKey, false);
  v.http = ReadSwitch(kRunHttpKey, false);
  v.linkPop = ReadSwitch(kRunLinkPopKey, false);
  v.usTm = ReadSwitch(kRunUsTmKey, false);
  v.gapMinutes = GetProfileInt(kSettingsSection, kLookupGapKey, kLookupGapDefault);
  v.mode = GetProfileInt(kSettingsSection, kLookupModeKey, 1) == 0 ? LookupMode::SelectedDomains
                                                                    : LookupMode::AllDomains;
  return v;
}

void LookupDialogValues::Save() const {
  const char* S = kSettingsSection;
  SettingsBatch::Profile()
      .SetInt(S, kRunDnsKey, dns ? 1 : 0)
      .SetInt(S, kRunWhoisKey, whois ? 1 : 0)
      .SetInt(S, kRunPingKey, ping ? 1 : 0)
      .SetInt(S, kRunHttpKey, http ? 1 : 0)
      .SetInt(S, kRunLinkPopKey, linkPop ? 1 : 0)
      .SetInt(S, kRunUsTmKey, usTm ? 1 : 0)
      .SetInt(S, kLookupGapKey, gapMinutes)
      .SetInt(S, kLookupModeKey, mode == LookupMode::AllDomains ? 1 : 0)
      .Commit();
}

LookupRunOptions LookupDialogValues::RunOptions() const {
  LookupRunOptions o;
  o.whois = whois;
  o.dns = dns;
  o.ping = ping;
  o.homePage = http;
  o.linkPopularity = linkPop;
  o.trademark = usTm;
  o.gapMinutes = gapMinutes;
  return o;
}

CLookupDialog::CLookupDialog(const LookupDialogValues& values, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Lookup"));
  checks_ = new LookupCheckGroup(QString(), values, this);

  auto* modeGroup = new QGroupBox(this);
  auto* modeLayout = new QVBoxLayout(modeGroup);
  selected_ = new QRadioButton(tr("Lookup Only Selected Domains"), modeGroup);
  all_ = new QRadioButton(tr("Lookup All Domains"), modeGroup);
  (values.mode == LookupMode::AllDomains ? all_ : selected_)->setChecked(true);
  modeLayout->addWidget(selected_);
  modeLayout->addWidget(all_);

  gap_ = new QSpinBox(this);
  gap_->setRange(0, INT_MAX);
  gap_->setValue(values.gapMinutes);
  auto* gapLayout = new QHBoxLayout;
  gapLayout->addWidget(new QLabel(tr("Lookup only the domains with whois data older than"), this));
  gapLayout->addWidget(gap_);
  gapLayout->addWidget(new QLabel(tr("minutes"), this));

  auto* buttons = qv::OkCancelButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(checks_);
  layout->addWidget(modeGroup);
  layout->addLayout(gapLayout);
  layout->addWidget(buttons);
}

QCheckBox* CLookupDialog::CheckBox(Check check) const { return checks_->Box(check); }

QCheckBox* CLookupDialog::SelectAllBox() const { return checks_->SelectAllBox(); }

void CLookupDialog::SetOffered(Check check, bool offered) { checks_->SetOffered(check, offered); }

LookupDialogValues CLookupDialog::Values() const {
  LookupDialogValues v;
  checks_->ReadInto(v);
  v.gapMinutes = gap_->value();
  v.mode = all_->isChecked() ? LookupMode::AllDomains : LookupMode::SelectedDomains;
  return v;
}

}  // namespace qv
