#include "app/dialogs/lookup_settings_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/dialogs/trademark_settings_box.h"
#include "lookup/lookup_settings.h"
#include "whois/whois_query.h"

namespace qv {
namespace {

// The longest time-out the box offers; the store keeps anything up to a
// time-out in milliseconds that fits an int.
constexpr int kTimeoutBoxMax = 2147483;

}  // namespace

CLookupSettingsDialog::CLookupSettingsDialog(QWidget* parent)
    : QDialog(parent),
      slider_(new QSlider(Qt::Horizontal, this)),
      countLabel_(new QLabel(this)),
      timeout_(new QSpinBox(this)),
      protocol_(new QComboBox(this)),
      trademark_(new CTrademarkSettingsBox(this)) {
  setWindowTitle(tr("Lookup Settings"));

  slider_->setRange(kDnsLookupCountMin, kDnsLookupCountMax);
  slider_->setTickInterval(10);
  slider_->setTickPosition(QSlider::TicksBelow);
  connect(slider_, &QSlider::valueChanged, countLabel_,
          [this](int value) { countLabel_->setText(QString::number(value)); });
  slider_->setValue(DnsLookupCountSetting());
  countLabel_->setText(QString::number(slider_->value()));
  countLabel_->setMinimumWidth(countLabel_->fontMetrics().horizontalAdvance(QStringLiteral("0000")));

  auto* sliderRow = new QGridLayout;
  sliderRow->addWidget(slider_, 0, 0, 1, 2);
  sliderRow->addWidget(countLabel_, 0, 2);
  sliderRow->addWidget(new QLabel(tr("<< Slower Lookups"), this), 1, 0, Qt::AlignLeft);
  sliderRow->addWidget(new QLabel(tr("High CPU usage >>"), this), 1, 1, Qt::AlignRight);

  timeout_->setRange(1, kTimeoutBoxMax);
  timeout_->setValue(WhoisTimeoutSeconds());
  auto* timeoutRow = new QHBoxLayout;
  timeoutRow->addWidget(new QLabel(tr("Whois Lookup Timeout Interval (seconds)"), this));
  timeoutRow->addWidget(timeout_);

  for (const char* text : kLookupProtocolTexts) protocol_->addItem(tr(text));
  protocol_->setCurrentIndex(int(LookupProtocolSetting()));
  protocol_->setToolTip(
      tr("RDAP first: RDAP where the name's TLD has an RDAP service, whois otherwise and when the "
         "RDAP query fails"));
  auto* protocolRow = new QHBoxLayout;
  protocolRow->addWidget(new QLabel(tr("Lookup Protocol"), this));
  protocolRow->addWidget(protocol_);

  auto* note = new QLabel(
      tr("Please use the 'Edit > Data Extraction Settings' menu to specify whois servers, whois "
         "connection intervals, etc."),
      this);
  note->setWordWrap(true);

  auto* buttons = qv::OkCancelButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Number of Simultaneous DNS Lookups"), this));
  layout->addLayout(sliderRow);
  layout->addLayout(timeoutRow);
  layout->addLayout(protocolRow);
  layout->addWidget(trademark_);
  layout->addWidget(note);
  layout->addWidget(buttons);
}

int CLookupSettingsDialog::LookupCount() const { return slider_->value(); }

int CLookupSettingsDialog::TimeoutSeconds() const { return timeout_->value(); }

int CLookupSettingsDialog::ProtocolIndex() const { return protocol_->currentIndex(); }

void CLookupSettingsDialog::Save() const {
  SetLookupProtocolSetting(LookupProtocol(ProtocolIndex()));
  SetDnsLookupCountSetting(LookupCount());
  SetWhoisTimeoutSeconds(TimeoutSeconds());
  trademark_->Save();
}

}  // namespace qv
