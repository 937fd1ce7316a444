// "Domain Group Editor" for "Group Selected Domains..." and "Ungroup Selected
// Domains...": the groups to add the selected names to (or remove them
// from), several at once, and the switch that highlights the most important
// names. With fewer than kGroupColourLimit names selected, a built-in group
// is drawn green when every selected name is a member, grey when none is;
// user groups are drawn teal.
#pragma once

#include <QColor>
#include <QDialog>
#include <map>
#include <string>
#include <vector>

#include "store/domain_groups.h"

class QCheckBox;
class QListWidget;

inline constexpr int kGroupColourLimit = 200;

// The colour of a group's entry; invalid for the normal colour.
QColor GroupEntryColour(bool builtIn, int members, int selected);

class CDomainGroupDialog : public QDialog {
  Q_OBJECT

 public:
  // `memberCounts`: how many of the `selected` names each group code holds.
  CDomainGroupDialog(bool add, int selected, const std::map<std::string, int>& memberCounts,
                     QWidget* parent = nullptr);

  QListWidget* GroupList() const { return list_; }
  // The codes of the chosen groups, in list order.
  std::vector<std::string> ChosenCodes() const;
  void accept() override;

 private:
  std::vector<qv::DomainGroup> groups_;
  QListWidget* list_;
  QCheckBox* highlight_;
};
