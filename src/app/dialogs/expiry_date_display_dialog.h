// "Expiry Date Display": within how many days (1 to 180) an expiry date is
// highlighted in the list.
#pragma once

#include <QDialog>

class CCorvaneView;
class QSpinBox;

class CExpiryDateDisplayDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CExpiryDateDisplayDialog(QWidget* parent = nullptr);

  int Days() const;
  void SetDays(int days);
  // Stores "Expiry Date Highlight".
  void accept() override;

 private:
  QSpinBox* days_;
};

// "Expiry Date Highlight Settings"; on OK the list is drawn with the new days.
bool RunExpiryDateDisplayDialog(CCorvaneView& view);
