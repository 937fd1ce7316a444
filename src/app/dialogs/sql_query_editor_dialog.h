// "SQL Query Editor": the name, comment and SQL text of one stored query,
// with "&Test" (the query run once on the open document) and "&Field
// Names..." (the fields of `Domains`, to copy into the query).
#pragma once

#include <QDialog>
#include <string>

#include "store/sql_queries.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qv {

struct Prompts;

inline constexpr const char* kQueryHelpText =
    "You can use [TODAY] within the sql query string to indicate current date.\r\n"
    "[TODAY-30] to indicate 30 days before the current date, etc.\r\n\r\n"
    "Eg: SELECT * FROM [Domains] WHERE [Expiry Date] < #[TODAY+40]#\r\n"
    "will retrieve all domains with the expiry date falling within the\r\nnext 40 days.";
inline constexpr const char* kQueryNameNeededText = "Please enter a name for the query.";
inline constexpr const char* kQueryNameTakenText = "A query named '%1' exists already.";
inline constexpr const char* kTestNeedsDocumentText = "Open a document to test the query on.";

class CSqlQueryEditorDialog : public QDialog {
  Q_OBJECT

 public:
  // `documentPath` is where "&Test" runs the query ("" when none is open);
  // `takenNames` the names of the other queries of the list.
  CSqlQueryEditorDialog(const QueryEntry& entry, std::string documentPath, Prompts& prompts,
                        std::vector<std::string> takenNames, QWidget* parent = nullptr);

  QueryEntry Entry() const;

  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* CommentEdit() const { return comment_; }
  QPlainTextEdit* SqlEdit() const { return sql_; }
  QPushButton* TestButton() const { return test_; }
  QPushButton* FieldNamesButton() const { return fields_; }

  void accept() override;

 private:
  void Test();

  std::string documentPath_;
  Prompts& prompts_;
  std::vector<std::string> takenNames_;
  QLineEdit* name_ = nullptr;
  QLineEdit* comment_ = nullptr;
  QPlainTextEdit* sql_ = nullptr;
  QPushButton* test_ = nullptr;
  QPushButton* fields_ = nullptr;
};

}  // namespace qv
