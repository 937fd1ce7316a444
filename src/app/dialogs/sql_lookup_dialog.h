// The "Lookup" dialog of "SQL Lookup": which checks to make, and the stored
// lookup query whose names they are made for.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "app/dialogs/lookup_dialog.h"
#include "store/sql_queries.h"

class QCheckBox;
class QTreeWidget;
class QPushButton;

namespace qv {

class LookupCheckGroup;
struct Prompts;

inline constexpr const char* kSelectSqlQueryText = "Please select an SQL query from the list";
inline constexpr const char* kSqlLookupHeading = "SQL Based Lookup [please select a query from the list]";

class CSqlLookupDialog : public QDialog {
  Q_OBJECT

 public:
  // `queryName` is selected when the list holds it.
  CSqlLookupDialog(const LookupDialogValues& values, const std::string& queryName,
                   std::string documentPath, Prompts& prompts, QWidget* parent = nullptr);

  // The checks (the mode and gap are those given).
  LookupDialogValues Values() const;
  // The chosen query ("" when none is selected).
  std::string QueryName() const;
  // A check the engine cannot run is shown disabled and unticked.
  void SetOffered(CLookupDialog::Check check, bool offered);
  void SelectQuery(const std::string& name);

  QCheckBox* CheckBox(CLookupDialog::Check check) const;
  QCheckBox* SelectAllBox() const;
  QTreeWidget* List() const { return list_; }
  QPushButton* SetupButton() const { return setup_; }

  void accept() override;

 private:
  void RunSetup();

  LookupDialogValues values_;
  std::string documentPath_;
  Prompts& prompts_;
  std::vector<QueryEntry> entries_;
  LookupCheckGroup* checks_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QPushButton* setup_ = nullptr;
};

}  // namespace qv
