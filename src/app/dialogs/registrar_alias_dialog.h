// "Registrar Alias Name": the registrar of the selected row as whois gives
// it, and the name the list shows instead.
#pragma once

#include <QDialog>

class QLineEdit;

class CRegistrarAliasDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CRegistrarAliasDialog(const QString& registrar, QWidget* parent = nullptr);
  QLineEdit* AliasEdit() const { return alias_; }
  // Stores the alias (SetRegistrarAlias).
  void accept() override;

 private:
  QString registrar_;
  QLineEdit* alias_;
};
