#include "app/dialogs/auto_scan_settings_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"

namespace qv {
namespace {

// The longest interval offered: a year.
constexpr int kMaxIntervalMinutes = 525600;

}  // namespace

CAutoScanSettingsDialog::CAutoScanSettingsDialog(Asker ask, QWidget* parent)
    : QDialog(parent), ask_(std::move(ask)) {
  setWindowTitle(tr("Auto Lookup Settings"));
  const AutoScanSettings s = AutoScanSettings::Load();
  const struct {
    const char* box;
    const char* label;
    bool on;
    int minutes;
  } rows[kKindCount] = {
      {"Domain whois ", "Whois lookup interval", s.whois, s.whoisInterval},
      {"DNS Check", "DNS check interval ", s.dns, s.dnsInterval},
      {"Ping check", "Ping check interval", s.ping, s.pingInterval},
      {"Http page check", "Http page check interval ", s.http, s.httpInterval},
  };
  auto* group = new QGroupBox(tr("Do automatic checks"), this);
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < kKindCount; ++i) {
    switches_[i] = new QCheckBox(tr(rows[i].box), group);
    switches_[i]->setChecked(rows[i].on);
    auto* label = new QLabel(tr(rows[i].label), group);
    intervals_[i] = new QSpinBox(group);
    intervals_[i]->setRange(kAutoScanMinInterval, kMaxIntervalMinutes);
    intervals_[i]->setValue(rows[i].minutes);
    auto* minutes = new QLabel(tr("minutes"), group);
    grid->addWidget(switches_[i], i, 0);
    grid->addWidget(label, i, 1);
    grid->addWidget(intervals_[i], i, 2);
    grid->addWidget(minutes, i, 3);
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(intervals_[i]), static_cast<QWidget*>(minutes)}) {
      w->setEnabled(rows[i].on);
      connect(switches_[i], &QCheckBox::toggled, w, &QWidget::setEnabled);
    }
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(OkCancelButtons(this));
}

AutoScanSettings CAutoScanSettingsDialog::Values() const {
  AutoScanSettings s;
  s.whois = switches_[kWhois]->isChecked();
  s.dns = switches_[kDns]->isChecked();
  s.ping = switches_[kPing]->isChecked();
  s.http = switches_[kHttp]->isChecked();
  s.whoisInterval = intervals_[kWhois]->value();
  s.dnsInterval = intervals_[kDns]->value();
  s.pingInterval = intervals_[kPing]->value();
  s.httpInterval = intervals_[kHttp]->value();
  return s;
}

void CAutoScanSettingsDialog::accept() {
  const AutoScanSettings s = Values();
  if (s.whois && s.whoisInterval < kSafeWhoisIntervalMinutes && ask_ &&
      ask_(this, QString::fromLatin1(kFrequentWhoisWarning)) != QMessageBox::Yes)
    return;
  s.Save();
  QDialog::accept();
}

}  // namespace qv
