// "Create Domain Names from Templates": a template such as ???web is
// expanded on a worker thread (Generate!, which reads "&Abort" while it
// runs), then a numbered range of its words, each joined to every ticked
// top-level domain, goes to a text file or to the program's list.
//
// The words are never held: word i of a template is computed from i, so a
// generation keeps only how many words it reached, and an export starts at
// its first word without making the ones before it.
#pragma once

#include <QDialog>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/prompts.h"
#include "namegen/name_template.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QCheckBox;
class QProgressBar;
class QPushButton;

namespace qv {

class CTemplateNamesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CTemplateNamesDialog(QWidget* parent = nullptr);
  ~CTemplateNamesDialog() override;

  QLineEdit* Template() const { return template_; }
  QLineEdit* ExportFrom() const { return from_; }
  QLineEdit* ExportTo() const { return to_; }
  QListWidget* TldList() const { return tlds_; }
  QCheckBox* SelectAll() const { return selectAll_; }
  QPushButton* GenerateButton() const { return generate_; }
  QProgressBar* Progress() const { return progress_; }
  QLabel* Status() const { return status_; }

  bool Busy() const { return worker_ != nullptr; }
  // Words made by the last generation (0 .. WordCount()-1 of its template).
  std::uint64_t WordCount() const { return generated_; }
  // The names "Export to program list" made, for the caller to add.
  const std::vector<std::string>& ExportNames() const { return exportNames_; }
  std::size_t TooLong() const { return tooLong_; }

  Prompts prompts = DefaultPrompts();

 public slots:
  void OnGenerate();
  void OnExportToFile();
  void OnExportToList();
  void reject() override;  // Close

 signals:
  // The generation ended (completed or aborted).
  void generationEnded();

 private:
  struct Range {
    long long from = 1, to = 1000;
  };
  void StoreSettings();
  bool ReadRange(Range& range);
  // The checks before an export; false when it must not run.
  bool ReadyToExport(Range& range, std::vector<std::string>& tlds);
  void OnProgress(std::uint64_t done);
  void OnWorkerDone(std::uint64_t done);

  QLineEdit* template_;
  QLineEdit* from_;
  QLineEdit* to_;
  QListWidget* tlds_;
  QCheckBox* selectAll_;
  QPushButton* generate_;
  QProgressBar* progress_;
  QLabel* status_;

  std::unique_ptr<NameTemplate> words_;  // the template of the last generation
  std::uint64_t generated_ = 0;
  std::unique_ptr<std::thread> worker_;
  std::atomic<bool> abort_{false};
  std::vector<std::string> exportNames_;
  std::size_t tooLong_ = 0;
};

}  // namespace qv
