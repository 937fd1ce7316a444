// "Field Names in Database": the fields of `Domains` of the open document
// (the program's own fields when none is open), for copying into a query.
#pragma once

#include <QDialog>
#include <string>

class QListWidget;

namespace qv {

inline constexpr const char* kFieldNamesHelpText =
    "You can double click on a field name to copy it to the clipboard.";

// The field names of `Domains` in the document at `path`; the program's own
// fields when the path is empty or cannot be read.
QStringList DomainFieldNames(const std::string& path);

class CFieldNamesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CFieldNamesDialog(const std::string& documentPath, QWidget* parent = nullptr);
  QListWidget* List() const { return list_; }
  // Copies the current field name.
  void CopyCurrent();

 private:
  QListWidget* list_ = nullptr;
};

}  // namespace qv
