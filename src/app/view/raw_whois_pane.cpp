#include "app/view/raw_whois_pane.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "lookup/answer_files.h"
#include "platform/text.h"
#include "whois/normalise.h"
#include "whois/rdap_answer.h"

namespace qv {

namespace {

// An RDAP answer is shown indented; a whois answer cleaned.
std::string Shown(std::string_view text) {
  return LooksLikeRdapAnswer(text) ? PrettyRdapAnswer(text) : CleanWhoisText(text);
}

}  // namespace

std::string RawWhoisTextOf(std::string_view domain, std::string_view fallback) {
  std::string text = LoadWhoisText(domain);
  if (text.empty() || text == kWhoisLoggingDisabledText) {
    if (!fallback.empty()) return Shown(fallback);
    return text;
  }
  return Shown(text);
}

RawWhoisPane::RawWhoisPane(QWidget* parent) : QWidget(parent) {
  heading_ = new QLabel(this);
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(9);
  font.setBold(true);
  heading_->setFont(font);
  QPalette palette = heading_->palette();
  palette.setColor(QPalette::WindowText, QColor(128, 0, 0));
  heading_->setPalette(palette);
  heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  body_ = new QPlainTextEdit(this);
  body_->setReadOnly(true);
  body_->setLineWrapMode(QPlainTextEdit::NoWrap);
  body_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addWidget(heading_);
  layout->addWidget(body_, 1);
  ShowNoSelection();
}

void RawWhoisPane::SetBody(const QString& text) {
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  body_->setPlainText(shown);
}

void RawWhoisPane::ShowNoSelection() {
  heading_->clear();
  SetBody(QString::fromLatin1(kRawWhoisNoSelectionText));
}

void RawWhoisPane::ShowEmptyList() {
  heading_->clear();
  SetBody(QString::fromLatin1(kRawWhoisEmptyListText));
}

void RawWhoisPane::ShowName(const QString& name, const QString& whoisText) {
  heading_->setText(QString::fromLatin1(kRawWhoisHeading) + name);
  SetBody(whoisText);
}

QString RawWhoisPane::HeadingText() const { return heading_->text(); }

QString RawWhoisPane::BodyText() const { return body_->toPlainText(); }

}  // namespace qv
