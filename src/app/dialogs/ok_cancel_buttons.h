// The OK and Cancel buttons most dialogs of the program end with.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>

namespace qv {

// Buttons that accept and reject the dialog.
inline QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace qv
