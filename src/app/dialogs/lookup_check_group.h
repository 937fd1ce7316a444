// The group of six lookup check boxes with "Select / Unselect All" that both
// lookup dialogs show (the run over the list and the SQL based one).
#pragma once

#include <QGroupBox>

#include "app/dialogs/lookup_dialog.h"

class QCheckBox;

namespace qv {

class LookupCheckGroup : public QGroupBox {
 public:
  // The boxes start ticked as `values` says.
  LookupCheckGroup(const QString& title, const LookupDialogValues& values, QWidget* parent);

  QCheckBox* Box(CLookupDialog::Check check) const { return checks_[check]; }
  QCheckBox* SelectAllBox() const { return selectAll_; }
  // A check the engine cannot run is shown disabled and unticked, and
  // "Select / Unselect All" leaves it alone.
  void SetOffered(CLookupDialog::Check check, bool offered);
  // The ticks written into `values`; its mode and gap stay as they are.
  void ReadInto(LookupDialogValues& values) const;

 private:
  QCheckBox* checks_[CLookupDialog::kCheckCount] = {};
  QCheckBox* selectAll_ = nullptr;
};

}  // namespace qv
