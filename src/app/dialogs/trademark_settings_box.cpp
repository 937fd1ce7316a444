#include "app/dialogs/trademark_settings_box.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

#include "platform/text.h"
#include "webcheck/trademark_settings.h"

namespace qv {

CTrademarkSettingsBox::CTrademarkSettingsBox(QWidget* parent)
    : QGroupBox(tr("US Trademark Search"), parent), host_(new QLineEdit(this)), gap_(new QSpinBox(this)) {
  host_->setText(ToQString(TessHostSetting()));
  host_->setPlaceholderText(tr("none: US Tm Checks are skipped"));
  host_->setToolTip(tr("The trademark search site: host, host:port or http://host:port"));
  gap_->setRange(0, kTessConnectionGapMax);
  gap_->setValue(TessConnectionGapSetting());
  auto* layout = new QFormLayout(this);
  layout->addRow(tr("Search Site Host"), host_);
  layout->addRow(tr("Pause Between Requests (seconds)"), gap_);
}

void CTrademarkSettingsBox::Save() const {
  SetTessHostSetting(ToStdString(host_->text().trimmed()));
  SetTessConnectionGapSetting(gap_->value());
}

}  // namespace qv
