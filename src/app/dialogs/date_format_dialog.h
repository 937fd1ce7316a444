// "Date Format": the day/month order of one whois server's numeric dates.
// "MM-DD" reads month first, "DD-MM" day first, "AUTO" learns the order from
// the first date of an answer that settles it. Confirming saves the server
// record with the chosen order and leaves `Manually Edited` as it was.
#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <string_view>

class QLabel;
class QRadioButton;

namespace qv {

class CDateFormatDialog : public QDialog {
  Q_OBJECT

 public:
  CDateFormatDialog(const QString& server, QWidget* parent = nullptr);

  QString Server() const { return server_; }
  // "mmdd", "ddmm" or "" (automatic), as the buttons stand.
  std::string ChosenOrder() const;
  // Checks the button of an order; anything but "mmdd" and "ddmm" (any
  // capitals) checks "AUTO".
  void SetChosenOrder(std::string_view order);
  // Shown while the server follows the built-in tables, whose order comes
  // back at its next use.
  QLabel* AutomaticNote() const { return automaticNote_; }

 public slots:
  void accept() override;

 private:
  QString server_;
  QRadioButton* monthFirst_;
  QRadioButton* dayFirst_;
  QRadioButton* automatic_;
  QLabel* automaticNote_;
};

}  // namespace qv
