// The domain bar "Domain Names": the display-mode selector of the list and a
// free scratch list of names kept apart from the database. The scratch list
// is read from "NamePad.Txt" when the bar is built and written back by Save();
// the two further lists of that file are written back as they were read.
#pragma once

#include <QStringList>
#include <QWidget>
#include <filesystem>

#include "store/name_pad.h"

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;

class CDomainNamesBar : public QWidget {
  Q_OBJECT

 public:
  explicit CDomainNamesBar(const std::filesystem::path& padFile = qv::NamePadPath(),
                           QWidget* parent = nullptr);

  // The names of the scratch list, in order, and the selected ones.
  QStringList Names() const;
  QStringList SelectedNames() const;
  // Appends names, leaving out any the list already holds (any capitals) and
  // any beyond the kNamePadMaxCount the file keeps; returns how many new names
  // were left out for want of room.
  int AddNames(const QStringList& names);
  // What to tell the user about names left out.
  static QString LeftOutText(int leftOut);
  void DeleteSelectedNames();
  void DeleteAllNames();
  // Writes the file; false when it could not be written.
  bool Save();
  // Writes the file and shows the list again as the file keeps it.
  bool Refresh();
  // The selector's label of a display mode (the View menu's wording).
  void SetModeLabel(int commandId, const QString& label);

  // The mode selector: shows the mode of a display-mode command (a mode it
  // does not offer shows no selection).
  void ShowMode(int commandId);
  QComboBox* ModeSelector() const { return modes_; }
  // The group selector: "All Domains", the built-in groups, the user groups.
  QComboBox* GroupSelector() const { return groups_; }
  // Lists the groups again (after the user groups changed).
  void ReloadGroups();
  QListWidget* NameList() const { return list_; }
  // The bar's own menu (right click on the names).
  void SetMenu(QMenu* menu) { menu_ = menu; }

  // The names as clipboard text, each followed by CR LF.
  static QString ClipboardText(const QStringList& names);

 signals:
  // The user picked a mode in the selector (its command identifier).
  void modeChosen(int commandId);
  // The user picked a group (its code; "ALLDOMAINS" for all names).
  void groupChosen(const QString& code);

 private:
  void ShowContextMenu(const QPoint& pos);
  void ShowPadList();
  // The hint shows while the list is empty.
  void UpdateHint();

  std::filesystem::path file_;
  qv::NamePad pad_;
  QComboBox* modes_;
  QComboBox* groups_ = nullptr;
  QListWidget* list_;
  QLabel* hint_ = nullptr;
  QMenu* menu_ = nullptr;
};
