#include "app/dialogs/find_domain_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "platform/text.h"
#include "store/find_domain.h"

namespace qv {

CFindDomainDialog::CFindDomainDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Find Domain"));
  text_ = new QLineEdit(ToQString(LastFindDomainText()), this);
  text_->selectAll();
  auto* buttons = qv::OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Domain name, or a part of it:"), this));
  layout->addWidget(text_);
  layout->addWidget(buttons);
}

QString CFindDomainDialog::SearchText() const { return text_->text().trimmed(); }

}  // namespace qv
