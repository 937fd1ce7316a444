// "Edit Tagged Email List": the addresses the user manages his domains with,
// one per line. Such an address is shown plain in the e-mail columns; any
// other address outside the row's own domain is marked.
#pragma once

#include <QDialog>
#include <QString>

class CCorvaneView;
class QPlainTextEdit;

class CTaggedEmailListDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CTaggedEmailListDialog(QWidget* parent = nullptr);

  QString Text() const;
  void SetText(const QString& text);
  // Stores the lines, trimmed, as the tagged e-mail list.
  void accept() override;

 private:
  QPlainTextEdit* text_;
};

bool RunTaggedEmailListDialog(CCorvaneView& view);
