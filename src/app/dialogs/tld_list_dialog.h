// "Top Level & Country Code List": the TLD List of the whois directory, in
// order. Entries are added (trimmed of " \r\n.;:\t" at both ends), deleted and
// moved; closing the dialog stores the list. "Settings..." opens "Domain
// Setup" for "example." followed by the selected entry.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

#include "app/prompts.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace qv {

inline constexpr const char* kSelectTldText = "Please select a TLD from the list";

// The text "&Add" takes from the box: trimmed of blanks, line breaks,
// periods, semicolons, colons and tabs at both ends.
QString TrimTldEntry(const QString& typed);

class CTldListDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CTldListDialog(QWidget* parent = nullptr);

  QStringList Entries() const;
  QLineEdit* EntryBox() const { return entry_; }
  QListWidget* List() const { return list_; }

  // The messages it shows (tests answer them).
  Prompts prompts = DefaultPrompts();
  // Opens "Domain Setup" for a domain name; tests replace it.
  std::function<void(const QString& domainName)> openDomainSetup;

 public slots:
  void OnAdd();
  void OnDelete();
  void OnMoveUp();
  void OnMoveDown();
  void OnSettings();
  void done(int result) override;

 private:
  void Move(int step);

  QLineEdit* entry_;
  QListWidget* list_;
  bool changed_ = false;
};

}  // namespace qv
