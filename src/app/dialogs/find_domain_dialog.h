// "Find Domain": asks for a name, or part of one, to locate in the list. It
// offers the text searched for last.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace qv {

class CFindDomainDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CFindDomainDialog(QWidget* parent = nullptr);

  // The text typed, trimmed at both ends.
  QString SearchText() const;
  QLineEdit* TextBox() const { return text_; }

 private:
  QLineEdit* text_;
};

}  // namespace qv
