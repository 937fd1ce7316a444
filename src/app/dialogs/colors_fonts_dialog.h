// "Colors & Fonts": the font, the two row colours and the row height of a
// list, with a two-row preview. OK stores them in the list's section.
#pragma once

#include <QDialog>
#include <QString>

#include "app/view/list_look.h"

class CBigListView;
class CCorvaneView;
class QLabel;
class QSlider;

class CColorsFontsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CColorsFontsDialog(const QString& section, QWidget* parent = nullptr);

  const qv::ListLook& Look() const { return look_; }
  void SetLook(const qv::ListLook& look);
  void SetRowHeightPercent(int percent);
  CBigListView* Preview() const { return preview_; }
  QString RowHeightText() const;

  // Writes the look to the section.
  void accept() override;

 private:
  void ChooseFont();
  void ChooseRowColor(int which);
  void ShowLook();

  QString section_;
  qv::ListLook look_;
  CBigListView* preview_;
  QSlider* slider_;
  QLabel* percent_;
};

// "Setup colors and fonts" for the main list; true when the user chose OK
// (the list then shows the new look).
bool RunColorsFontsDialog(CCorvaneView& view);
