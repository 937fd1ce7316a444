// "Create Domain Names from Keywords": a main keyword padded with the words
// of a word set. The two word boxes show the set's start and end words; an
// edited set is saved to its file when the user switches sets or confirms.
// On OK the names are made at once and kept for the caller to add.
#pragma once

#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

#include "app/prompts.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QPlainTextEdit;

namespace qv {

class CKeywordNamesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CKeywordNamesDialog(QWidget* parent = nullptr);

  QComboBox* Keyword() const { return keyword_; }
  QComboBox* WordSet() const { return wordSet_; }
  QPlainTextEdit* StartWords() const { return start_; }
  QPlainTextEdit* EndWords() const { return end_; }
  QCheckBox* AllowHyphens() const { return hyphens_; }
  QCheckBox* SinglePadding() const { return single_; }
  QCheckBox* NoPrefix() const { return noPrefix_; }
  QCheckBox* NoSuffix() const { return noSuffix_; }
  QListWidget* TldList() const { return tlds_; }
  QCheckBox* SelectAll() const { return selectAll_; }

  // What OK made, for the caller to add.
  const std::vector<std::string>& Names() const { return names_; }
  std::size_t TooLong() const { return tooLong_; }

  // The file chooser and messages it uses (tests answer them).
  Prompts prompts = DefaultPrompts();

  // Puts a text file's content into a box, replacing it; false when the
  // file cannot be read.
  bool ImportWords(QPlainTextEdit* box, const QString& path);

 public slots:
  void accept() override;

 private:
  void SwitchWordSet();
  void OnImportWords(QPlainTextEdit* box);

  QComboBox* keyword_;
  QComboBox* wordSet_;
  QPlainTextEdit* start_;
  QPlainTextEdit* end_;
  QCheckBox* hyphens_;
  QCheckBox* single_;
  QCheckBox* noPrefix_;
  QCheckBox* noSuffix_;
  QListWidget* tlds_;
  QCheckBox* selectAll_;

  std::filesystem::path folder_;
  std::string loadedSet_;
  std::vector<std::string> names_;
  std::size_t tooLong_ = 0;
};

}  // namespace qv
