#include "app/dialogs/date_format_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "platform/ascii.h"
#include "platform/text.h"
#include "whois/server_directory.h"

namespace qv {
namespace {

constexpr const char* kMonthFirst = "mmdd";
constexpr const char* kDayFirst = "ddmm";

}  // namespace

CDateFormatDialog::CDateFormatDialog(const QString& server, QWidget* parent)
    : QDialog(parent), server_(server.trimmed()) {
  setWindowTitle(tr("Date Format"));
  monthFirst_ = new QRadioButton(QStringLiteral("MM-DD"), this);
  dayFirst_ = new QRadioButton(QStringLiteral("DD-MM"), this);
  automatic_ = new QRadioButton(QStringLiteral("AUTO"), this);
  auto* group = new QGroupBox(tr("Order of day and month in numeric dates"), this);
  auto* choices = new QVBoxLayout(group);
  choices->addWidget(monthFirst_);
  choices->addWidget(dayFirst_);
  choices->addWidget(automatic_);

  automaticNote_ = new QLabel(tr("This server follows the built-in settings, which give it "
                                 "their own order again at its next use. To keep a chosen order, "
                                 "set the server up by hand (Whois Server Setup) first."),
                              this);
  automaticNote_->setWordWrap(true);
  {
    const WhoisServerRecord record(ToStdString(server_), true);
    SetChosenOrder(record.dateFormat);
    automaticNote_->setVisible(record.manuallyEdited == 0);
  }

  auto* buttons = qv::OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Whois server: %1").arg(server_), this));
  layout->addWidget(group);
  layout->addWidget(automaticNote_);
  layout->addWidget(buttons);
}

std::string CDateFormatDialog::ChosenOrder() const {
  if (monthFirst_->isChecked()) return kMonthFirst;
  if (dayFirst_->isChecked()) return kDayFirst;
  return {};
}

void CDateFormatDialog::SetChosenOrder(std::string_view order) {
  if (EqualsNoCase(order, kMonthFirst))
    monthFirst_->setChecked(true);
  else if (EqualsNoCase(order, kDayFirst))
    dayFirst_->setChecked(true);
  else
    automatic_->setChecked(true);
}

void CDateFormatDialog::accept() {
  if (!server_.isEmpty()) {
    // Read again now: another dialog may have stored this server meanwhile.
    WhoisServerRecord record(ToStdString(server_), false);
    record.dateFormat = ChosenOrder();
  }  // the record stores itself here, `Manually Edited` unchanged
  QDialog::accept();
}

}  // namespace qv
