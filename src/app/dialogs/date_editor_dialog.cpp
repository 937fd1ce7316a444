#include "app/dialogs/date_editor_dialog.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
  typed_ = new QLineEdit(this);
  typed_->setPlaceholderText(tr("or type a date, such as 28 Dec 2026"));
  typedError_ = new QLabel(this);
  typedError_->setStyleSheet(QStringLiteral("color: #b00000"));
  typedError_->hide();
  auto* clear = new QPushButton(tr("C&lear Date"), this);
  auto* buttons = qv::OkCancelButtons(this);
  connect(calendar_, &QCalendarWidget::activated, this, &QDialog::accept);
  connect(calendar_, &QCalendarWidget::clicked, typed_, &QLineEdit::clear);
  connect(clear, &QPushButton::clicked, this, [this] {
    cleared_ = true;
    QDialog::accept();
  });
  auto* typedRow = new QHBoxLayout;
  typedRow->addWidget(typed_, 1);
  typedRow->addWidget(clear);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(original_);
  layout->addWidget(calendar_);
  layout->addLayout(typedRow);
  layout->addWidget(typedError_);
  layout->addWidget(buttons);
}

QDate CDateEditorDialog::TypedDay() const {
  std::string order;
  qv::Date date;
  if (!qv::ParseWhoisDate(qv::ToStdString(typed_->text().trimmed()), order, date) || !date.IsValid()) return {};
  const qv::DateParts p = date.Parts();
  return QDate(p.year, p.month, p.day);
}

void CDateEditorDialog::accept() {
  if (!typed_->text().trimmed().isEmpty()) {
    const QDate day = TypedDay();
    if (!day.isValid()) {
      typedError_->setText(tr("\"%1\" is not a date.").arg(typed_->text().trimmed()));
      typedError_->show();
      return;
    }
    calendar_->setSelectedDate(day);
  }
  QDialog::accept();
}

bool CDateEditorDialog::TypeDate(const QString& text) {
  typed_->setText(text);
  accept();
  return result() == QDialog::Accepted;
}

QDate CDateEditorDialog::PickedDay() const { return cleared_ ? QDate() : calendar_->selectedDate(); }

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
