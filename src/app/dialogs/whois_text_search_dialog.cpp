#include "app/dialogs/whois_text_search_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/main_frame.h"
#include "app/progress.h"
#include "app/view/corvane_view.h"
#include "lookup/answer_files.h"
#include "lookup/whois_text_search.h"
#include "platform/text.h"

CWhoisTextSearchDialog::CWhoisTextSearchDialog(const QStringList& texts, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Whois Text Search Settings"));
  auto* heading = new QLabel(tr("Texts to look for in the kept whois answers (one per line; "
                                "write {lf} for a line break inside a text):"),
                             this);
  heading->setWordWrap(true);
  text_ = new QPlainTextEdit(this);
  SetText(texts.join(QLatin1Char('\n')));
  select_ = new QCheckBox(tr("Select the names in the list whose answer holds one of them"), this);
  select_->setChecked(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(text_, 1);
  layout->addWidget(select_);
  layout->addWidget(qv::OkCancelButtons(this));
  resize(440, 300);
}

void CWhoisTextSearchDialog::SetText(const QString& text) { text_->setPlainText(text); }

QStringList CWhoisTextSearchDialog::Texts() const {
  QStringList texts;
  for (QString line : text_->toPlainText().split(QLatin1Char('\n'))) {
    line.remove(QLatin1Char('|'));  // the separator of the stored form
    if (!line.trimmed().isEmpty()) texts << line;
  }
  return texts;
}

bool CWhoisTextSearchDialog::SelectMatches() const { return select_->isChecked(); }

namespace qv {

QStringList SelectWhoisTextMatches(CMainFrame& frame, const std::vector<std::string>& texts) {
  CCorvaneView* view = frame.View();
  if (!view || texts.empty()) return {};
  const QStringList names = view->AllShownNames();
  QStringList matches;
  {
    ProgressWindow progress(&frame, QObject::tr("Searching the Whois Data"));
    for (int i = 0; i < names.size(); ++i) {
      if (!progress.Advance(i, names.size())) break;
      if (WhoisTextMatches(LoadWhoisText(ToStdString(names[i])), texts)) matches << names[i];
    }
  }
  view->SelectNames(matches);
  return matches;
}

void RunWhoisTextSearch(CMainFrame& frame) {
  QStringList current;
  for (const std::string& text : WhoisSearchTexts()) current << ToQString(text).replace(QLatin1Char('\n'), QStringLiteral("{lf}"));
  CWhoisTextSearchDialog dialog(current, &frame);
  if (dialog.exec() != QDialog::Accepted) return;
  std::vector<std::string> texts;  // "{lf}" kept as typed: it is the stored form
  for (const QString& text : dialog.Texts()) texts.push_back(ToStdString(text));
  StoreWhoisSearchTexts(texts);
  if (!dialog.SelectMatches() || !frame.Document().IsOpen()) return;
  const QStringList matches = SelectWhoisTextMatches(frame, WhoisSearchTexts());
  frame.UserPrompts().tell(&frame, QObject::tr("%1 names of the list have a whois answer holding one of the texts; "
                                               "they are selected.").arg(matches.size()));
}

}  // namespace qv
