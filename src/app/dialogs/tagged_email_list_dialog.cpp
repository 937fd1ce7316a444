#include "app/dialogs/tagged_email_list_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/view/corvane_view.h"
#include "app/view/view_settings.h"
#include "platform/text.h"

CTaggedEmailListDialog::CTaggedEmailListDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Tagged Email Addresses"));
  auto* prompt = new QLabel(
      QStringLiteral("Please type in all the email addresses that are used to manage your domain names. "
                     "One entry per line."),
      this);
  prompt->setWordWrap(true);
  text_ = new QPlainTextEdit(this);
  QStringList lines;
  for (const std::string& address : qv::TaggedEmailList()) lines << qv::ToQString(address);
  text_->setPlainText(lines.join(QLatin1Char('\n')));
  auto* buttons = qv::OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(text_, 1);
  layout->addWidget(buttons);
  resize(420, 320);
}

QString CTaggedEmailListDialog::Text() const { return text_->toPlainText(); }

void CTaggedEmailListDialog::SetText(const QString& text) { text_->setPlainText(text); }

void CTaggedEmailListDialog::accept() {
  qv::StoreTaggedEmailList(qv::SplitTaggedEmailText(qv::ToStdString(Text())));
  QDialog::accept();
}

bool RunTaggedEmailListDialog(CCorvaneView& view) {
  CTaggedEmailListDialog dialog(view.window());
  if (dialog.exec() != QDialog::Accepted) return false;
  view.Refresh();
  return true;
}
