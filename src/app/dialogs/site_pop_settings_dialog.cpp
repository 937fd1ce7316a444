#include "app/dialogs/site_pop_settings_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "webcheck/link_popularity.h"

namespace qv {

CSitePopSettingsDialog::CSitePopSettingsDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Site Pop Settings"));
  auto* note = new QLabel(tr("The address of each service the Site Pop Check asks, such as "
                             "http://ranks.example.net:8080. A service without an address is skipped."),
                          this);
  note->setWordWrap(true);
  auto* form = new QFormLayout;
  for (const SitePopServiceInfo& service : SitePopServices()) {
    auto* box = new QLineEdit(ToQString(GetProfileString(kSettingsSection, service.settingKey, "")), this);
    box->setMinimumWidth(320);
    form->addRow(ToQString(service.displayName) + QLatin1Char(':'), box);
    boxes_.push_back(box);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addLayout(form);
  layout->addWidget(OkCancelButtons(this));
}

void CSitePopSettingsDialog::Save() const {
  std::size_t i = 0;
  for (const SitePopServiceInfo& service : SitePopServices())
    WriteProfileString(kSettingsSection, service.settingKey, ToStdString(boxes_[i++]->text().trimmed()));
}

}  // namespace qv
