// "Display List Setup": which columns a display mode shows after "#" and
// "Domain", and in which order. The mode's current columns come first,
// checked; every other offered column follows, unchecked.
#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

#include "app/view/display_modes.h"

class CCorvaneView;
class QListWidget;

class CDisplayListSetupDialog : public QDialog {
  Q_OBJECT

 public:
  // `modeCommandId` names the mode whose columns are set up.
  explicit CDisplayListSetupDialog(int modeCommandId, QWidget* parent = nullptr);

  QListWidget* List() const { return list_; }
  // Moves the current entry one place up or down.
  void MoveUp();
  void MoveDown();
  // The checked columns in order, each with its remembered width.
  std::vector<qv::ListColumn> CheckedColumns() const;
  QStringList Entries() const;
  void SetChecked(const QString& column, bool checked);

  // Stores the checked columns as the mode's columns.
  void accept() override;

 private:
  void Move(int step);

  const qv::DisplayModeInfo* mode_;
  QListWidget* list_;
};

// "Configure List Columns..." for the view's mode; on OK the columns are
// built again. Modes without columns of their own have nothing to set up.
bool RunDisplayListSetupDialog(CCorvaneView& view);
