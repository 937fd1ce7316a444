// "SQL Query Setup": the stored display or lookup queries, with New, Modify
// and Delete (each change saved at once) and Select (the dialog ends with the
// chosen query).
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "store/sql_queries.h"

class QTreeWidget;

namespace qv {

struct Prompts;

inline constexpr const char* kQuerySetupHeading =
    "Pre-configured SQL queries [double click on an entry to modify it]";
inline constexpr const char* kDeleteQueryText = "About to delete '%1'.\r\n\r\nAre you sure?";

// How the dialogs of the SQL filters are run (exec unless a test sets one).
using SqlDialogRunner = std::function<int(QDialog& dialog)>;
void SetSqlDialogRunnerForTests(SqlDialogRunner runner);
int RunSqlDialog(QDialog& dialog);

// A list of queries in two columns, "Name" and a second one, in Verdana.
void FillQueryList(QTreeWidget* list, const std::vector<QueryEntry>& entries, bool showSql);

class CSqlQuerySetupDialog : public QDialog {
  Q_OBJECT

 public:
  CSqlQuerySetupDialog(QueryKind kind, std::string documentPath, Prompts& prompts,
                       QWidget* parent = nullptr);

  // The query chosen with "&Select" ("" otherwise).
  const std::string& SelectedName() const { return selected_; }
  const std::vector<QueryEntry>& Entries() const { return entries_; }
  QTreeWidget* List() const { return list_; }

  void NewQuery();
  void ModifyQuery();
  void DeleteQuery();
  void SelectQuery();

 private:
  void Refill(int currentRow);
  std::vector<std::string> NamesBut(int row) const;

  QueryKind kind_;
  std::string documentPath_;
  Prompts& prompts_;
  std::vector<QueryEntry> entries_;
  std::string selected_;
  QTreeWidget* list_ = nullptr;
};

}  // namespace qv
