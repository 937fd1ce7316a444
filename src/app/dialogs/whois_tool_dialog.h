// "Whois Lookup Tool (Diagnostic, Port 43)": one raw whois query typed by the
// user, sent to the server typed beside it, the answer shown as it came. The
// query runs on a thread of its own; "Go >>" stays disabled until its answer
// is shown. Both boxes keep a history of their last 100 entries. With the
// protocol "RDAP" the query goes to an RDAP service instead: the base URL in
// the server box, or the directory's for the name when the box is empty; the
// answer is shown indented.
#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace qv {

// The answer as the tool shows it: every line ending made CR LF.
QString WhoisToolShownText(const QString& answer);

class CWhoisToolDialog : public QDialog {
  Q_OBJECT

 public:
  // The tool talks to port 43; tests give the port of their own server.
  explicit CWhoisToolDialog(QWidget* parent = nullptr, int port = 43);

  QComboBox* QueryBox() const { return query_; }
  QComboBox* ServerBox() const { return server_; }
  // "Whois (port 43)" or "RDAP".
  QComboBox* ProtocolBox() const { return protocol_; }
  QPushButton* GoButton() const { return go_; }
  QPlainTextEdit* AnswerBox() const { return answer_; }
  bool Running() const { return running_; }
  // Query threads of all tool windows not yet finished and cleaned up (a
  // window closed early leaves its thread to end by itself).
  static int QueriesInFlight();

 public slots:
  // The "Go >>" button.
  void OnGo();

 signals:
  // The answer of the last query is shown.
  void answerShown();

 private:
  void ShowAnswer(const QString& server, const std::string& answer, bool ok);
  void GoRdap(const QString& query, const QString& base);

  int port_;
  bool running_ = false;
  QComboBox* query_;
  QComboBox* server_;
  QComboBox* protocol_;
  QPushButton* go_;
  QPlainTextEdit* answer_;
};

}  // namespace qv
