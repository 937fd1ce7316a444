#include "app/dialogs/invalid_ip_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "lookup/lookup_engine.h"
#include "platform/text.h"

CInvalidIpDialog::CInvalidIpDialog(const qv::InvalidIpList& list, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("IP Address: \"Ignore List\""));
  auto* heading = new QLabel(
      QStringLiteral("Please type in the list of IP addresses (one entry per line) that should be "
                     "ignored while checking domains for availability using DNS."),
      this);
  heading->setWordWrap(true);
  auto* example = new QLabel(QStringLiteral("Eg: Verisign Site Finder IP address"), this);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("addresses"));
  SetText(qv::ToQString(list.Text()));
  auto* buttons = qv::OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(example);
  layout->addWidget(text_, 1);
  layout->addWidget(buttons);
  resize(420, 320);
}

QString CInvalidIpDialog::Text() const { return text_->toPlainText(); }

void CInvalidIpDialog::SetText(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));  // the box keeps plain line feeds
  text_->setPlainText(shown);
}

qv::InvalidIpList CInvalidIpDialog::List() const {
  qv::InvalidIpList list;
  list.SetFromText(qv::ToStdString(Text()));
  return list;
}

bool RunInvalidIpDialog(QWidget* parent, qv::LookupEngine& engine) {
  CInvalidIpDialog dialog(engine.InvalidAddresses(), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  engine.SetInvalidAddresses(dialog.List());
  return true;
}
