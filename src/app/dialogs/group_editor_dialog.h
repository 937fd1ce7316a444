// "Domain Group Editor" of "Edit Domain Groups...": one group at a time, the
// names of the current list split into those in the group and those not;
// the names moved across change their membership at once.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

#include "store/domain_groups.h"

class QComboBox;
class QListWidget;

class CGroupEditorDialog : public QDialog {
  Q_OBJECT

 public:
  // `members` gives the stored members of a group code; `change` adds the
  // names to the group (or removes them) and says whether it went through.
  using MembersOf = std::function<std::vector<std::string>(const std::string& code)>;
  using Change = std::function<bool(const QStringList& names, const std::string& code, bool add)>;
  CGroupEditorDialog(const QStringList& names, MembersOf members, Change change, QWidget* parent = nullptr);

  QComboBox* GroupSelector() const { return groups_; }
  QListWidget* InList() const { return in_; }
  QListWidget* OutList() const { return out_; }
  // Moves the selected names of one list to the other ("<< Add Selection",
  // "Remove Selection >>").
  void AddSelection();
  void RemoveSelection();

 private:
  void ShowGroup(int index);
  void Move(QListWidget* from, bool add);

  QStringList names_;
  std::vector<qv::DomainGroup> groupList_;
  MembersOf members_;
  Change change_;
  QComboBox* groups_;
  QListWidget* in_;
  QListWidget* out_;
};
