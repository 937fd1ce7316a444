// "Date Editor": picks a day on a calendar for one date of a domain, showing
// the date it had. The day may also be typed (any form the whois date reader
// understands, such as "28 Dec 2026" or "2026-12-28"), and "Clear" empties
// the date.
#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <optional>

#include "platform/date.h"

class QCalendarWidget;
class QLabel;
class QLineEdit;

class CDateEditorDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CDateEditorDialog(const qv::Date& original, QWidget* parent = nullptr);

  // The picked day; an invalid QDate once "Clear" was pressed.
  QDate PickedDay() const;
  void SetPickedDay(const QDate& day);
  // The picked day as the editor writes it: "MM/DD/YYYY".
  QString PickedText() const;
  QString OriginalText() const;
  // Types a date into the text field (as the user would) and takes it.
  bool TypeDate(const QString& text);

  // Shows the dialog; the picked day (invalid: cleared), or nothing when
  // cancelled.
  static std::optional<QDate> Pick(const qv::Date& original, QWidget* parent);

  void accept() override;

 private:
  // The typed text as a day; invalid when it is not a date.
  QDate TypedDay() const;

  QCalendarWidget* calendar_;
  QLabel* original_;
  QLineEdit* typed_;
  QLabel* typedError_;
  bool cleared_ = false;
};
