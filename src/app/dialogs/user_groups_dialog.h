// "User Groups" ("Additional Domain Groups"): the user's own domain groups,
// one name per line. OK refuses names a group field cannot carry and names
// that would make one group twice, saying why.
#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

class CUserGroupsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CUserGroupsDialog(const QStringList& names, QWidget* parent = nullptr);

  void SetText(const QString& text);
  // The names as the box reads: one a line, trimmed, empty lines left out.
  QStringList Names() const;
  // Why the names cannot be kept; empty when they can.
  QString Problem() const;

  void accept() override;

 private:
  QPlainTextEdit* text_;
};
