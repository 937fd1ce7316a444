// "Create Domain Names": names typed (or read from a small text file) into a
// box; a bare word is joined to each ticked top-level domain, a word holding
// a dot is taken as a full name. The ticks are kept per top-level domain
// between runs.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "app/dialogs/tld_check_list.h"
#include "app/prompts.h"

class QListWidget;
class QPlainTextEdit;

namespace qv {

class CCreateDomainNamesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CCreateDomainNamesDialog(QWidget* parent = nullptr);

  QPlainTextEdit* TextBox() const { return text_; }
  QListWidget* TldList() const { return tlds_; }
  QStringList TickedTlds() const;
  // The names the box makes with the ticked top-level domains.
  std::vector<std::string> Names() const;

  // The file chooser and messages it uses (tests answer them).
  Prompts prompts = DefaultPrompts();

  // Appends a text file's content to the box; false when it cannot be read.
  bool InsertFile(const QString& path);

 public slots:
  void OnSelectAll();
  void OnUnselectAll();
  void OnInsertFromFile();
  void accept() override;

 private:
  void SetAllTicks(bool ticked);

  QPlainTextEdit* text_;
  QListWidget* tlds_;
};

}  // namespace qv
