// The quick lookup bar: a one-line bar with a domain name box and the
// "Lookup Domain" button. The lookup commands own what the button does; the
// box is theirs to read and to fill with its history.
#pragma once

#include <QWidget>

class QAction;
class QComboBox;

class CQuickLookupBar : public QWidget {
  Q_OBJECT

 public:
  // `lookupDomain` is the "Lookup Domain" command; Return in the box runs it.
  CQuickLookupBar(QAction* lookupDomain, QWidget* parent = nullptr);
  QComboBox* DomainBox() const { return box_; }
  // The text in the box, trimmed.
  QString DomainText() const;

 signals:
  // A name was picked from the box's history (not an empty one, nor one
  // starting with "$").
  void nameChosen(QString name);

 private:
  QComboBox* box_;
};
