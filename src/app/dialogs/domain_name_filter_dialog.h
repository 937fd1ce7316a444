// The "Domain Name Filter" tool: a scratch list for large lists of candidate
// names, apart from the document. Names are loaded from text files, picked
// with seven filters, the picked rows deleted, gathered at the top or
// inverted, top-level domains stripped, and in the end every name handed to
// the main list. Only the filter fields are kept between openings.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "namegen/name_filter.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;

namespace qv {

class CFilterNamesModel;

class CDomainNameFilterDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CDomainNameFilterDialog(QWidget* parent = nullptr);

  // The fields, in the order of the filters.
  QLineEdit* StartWords() const { return start_; }
  QLineEdit* EndWords() const { return end_; }
  QLineEdit* MiddleWords() const { return middle_; }
  QLineEdit* CharList() const { return chars_; }
  QSpinBox* MaxChars() const { return maxChars_; }
  QSpinBox* MinChars() const { return minChars_; }
  QLineEdit* Tld() const { return tld_; }
  QCheckBox* AutoUnselect() const { return autoUnselect_; }
  QTableView* View() const { return view_; }
  QLabel* Status() const { return status_; }

  const std::vector<std::string>& Names() const;
  // The selected rows in ascending order.
  std::vector<std::size_t> SelectedRows() const;
  void SelectRows(const std::vector<std::size_t>& rows);

  Prompts prompts = DefaultPrompts();
  // What Transfer needs from the main window: an open document (asked for
  // when there is none), the adding step, and the "Create Domain Names"
  // dialog for words that are not full names (it returns the names made,
  // nothing when cancelled).
  std::function<bool()> requireDocument;
  std::function<void(const std::vector<std::string>& names)> addNames;
  std::function<std::vector<std::string>(const std::vector<std::string>& words)> createNames;

 public slots:
  void OnAdd();
  // Adds the names of a text file; false when it cannot be read.
  bool AddFile(const QString& path);
  void ApplyFilter(qv::FilterKind kind);
  void OnUnselectAll();
  void OnInvert();
  void OnGroupSelected();
  void OnDeleteSelected();
  void OnClear();
  void OnStripTlds();
  void OnTransfer();
  void OnHelp();
  void done(int result) override;  // "&Close" stores the fields

 private:
  NameFilter FilterOf(FilterKind kind) const;
  std::vector<bool> SelectionMask() const;
  void SelectMask(const std::vector<bool>& mask);
  void ShowCount();
  void ShowCountAndSelection();
  void ShowCountAndSelection(const std::vector<bool>& mask);

  CFilterNamesModel* model_;
  QTableView* view_;
  QLineEdit* start_;
  QLineEdit* end_;
  QLineEdit* middle_;
  QLineEdit* chars_;
  QSpinBox* maxChars_;
  QSpinBox* minChars_;
  QLineEdit* tld_;
  QCheckBox* autoUnselect_;
  QLabel* status_;
};

}  // namespace qv
