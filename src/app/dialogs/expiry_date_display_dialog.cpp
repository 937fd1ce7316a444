#include "app/dialogs/expiry_date_display_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/view/corvane_view.h"
#include "app/view/view_settings.h"

CExpiryDateDisplayDialog::CExpiryDateDisplayDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Expiry Date Display"));
  days_ = new QSpinBox(this);
  days_->setRange(qv::kExpiryHighlightMin, qv::kExpiryHighlightMax);
  days_->setValue(qv::ExpiryHighlightDays());
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("Highlight domains with expiry date within the next"), this));
  row->addWidget(days_);
  row->addWidget(new QLabel(QStringLiteral("days"), this));
  auto* buttons = qv::OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
}

int CExpiryDateDisplayDialog::Days() const { return days_->value(); }

void CExpiryDateDisplayDialog::SetDays(int days) { days_->setValue(days); }

void CExpiryDateDisplayDialog::accept() {
  qv::SetExpiryHighlightDays(Days());
  QDialog::accept();
}

bool RunExpiryDateDisplayDialog(CCorvaneView& view) {
  CExpiryDateDisplayDialog dialog(view.window());
  if (dialog.exec() != QDialog::Accepted) return false;
  view.Refresh();
  return true;
}
