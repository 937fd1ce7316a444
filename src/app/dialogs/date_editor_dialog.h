// "Date Editor": picks a day on a calendar for one date of a domain, showing
// the date it had.
#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <optional>

#include "platform/date.h"

class QCalendarWidget;
class QLabel;

class CDateEditorDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CDateEditorDialog(const qv::Date& original, QWidget* parent = nullptr);

  QDate PickedDay() const;
  void SetPickedDay(const QDate& day);
  // The picked day as the editor writes it: "MM/DD/YYYY".
  QString PickedText() const;
  QString OriginalText() const;

  // Shows the dialog; the picked day, or nothing when cancelled.
  static std::optional<QDate> Pick(const qv::Date& original, QWidget* parent);

 private:
  QCalendarWidget* calendar_;
  QLabel* original_;
};
