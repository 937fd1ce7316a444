#include "app/dialogs/date_editor_dialog.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "platform/text.h"
#include "whois/whois_date.h"

CDateEditorDialog::CDateEditorDialog(const qv::Date& original, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Date Editor"));
  original_ = new QLabel(QStringLiteral("Original Date: %1").arg(qv::ToQString(qv::DateText(original))), this);
  calendar_ = new QCalendarWidget(this);
  if (original.IsValid()) {
    const qv::DateParts p = original.Parts();
    calendar_->setSelectedDate(QDate(p.year, p.month, p.day));
  } else {
    calendar_->setSelectedDate(QDate::currentDate());
  }
  auto* buttons = qv::OkCancelButtons(this);
  connect(calendar_, &QCalendarWidget::activated, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(original_);
  layout->addWidget(calendar_);
  layout->addWidget(buttons);
}

QDate CDateEditorDialog::PickedDay() const { return calendar_->selectedDate(); }

void CDateEditorDialog::SetPickedDay(const QDate& day) { calendar_->setSelectedDate(day); }

QString CDateEditorDialog::PickedText() const {
  const QDate day = PickedDay();
  return qv::ToQString(qv::DateEditorText(day.year(), day.month(), day.day()));
}

QString CDateEditorDialog::OriginalText() const { return original_->text(); }

std::optional<QDate> CDateEditorDialog::Pick(const qv::Date& original, QWidget* parent) {
  CDateEditorDialog dialog(original, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.PickedDay();
}
