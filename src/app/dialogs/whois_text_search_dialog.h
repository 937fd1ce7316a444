// "Whois Text Search Settings": the texts to look for in the kept whois
// answers, one per line ("{lf}" stands for a line feed inside a text), and
// whether to select the names of the list whose answer holds one of them.
#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QPlainTextEdit;

class CWhoisTextSearchDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CWhoisTextSearchDialog(const QStringList& texts, QWidget* parent = nullptr);

  void SetText(const QString& text);
  // The texts as the box reads: one a line, empty lines and "|" left out.
  QStringList Texts() const;
  bool SelectMatches() const;

 private:
  QPlainTextEdit* text_;
  QCheckBox* select_;
};

class CMainFrame;

namespace qv {

// Selects the names of the shown list whose kept answer holds one of the
// texts (under a progress window that can be cancelled) and returns them.
QStringList SelectWhoisTextMatches(CMainFrame& frame, const std::vector<std::string>& texts);

// The command: the dialog, then the selection and a message with the count.
void RunWhoisTextSearch(CMainFrame& frame);

}  // namespace qv
