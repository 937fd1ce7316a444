// A large list drawn row by row from its model: the rows' colours, height and
// font come from a settings section of its own (see list_look.h), cell texts
// may carry colour marks (markup.h), an empty list shows a text of its own,
// and the widths of its columns are remembered by column name. The main
// domain list is one; other windows use it for their own lists.
#pragma once

#include <QSet>
#include <QString>
#include <QTableView>
#include <vector>

#include "app/view/display_modes.h"
#include "app/view/list_look.h"
#include "app/view/markup.h"

class CBigListView : public QTableView {
  Q_OBJECT

 public:
  explicit CBigListView(const QString& section = QString::fromLatin1(qv::kDefaultListSection),
                        QWidget* parent = nullptr);

  // Reads the colours, the row height and the font of the list's section
  // (or of another section) and redraws.
  void ApplyListSettings();
  void ApplyListSettings(const QString& section);
  QString Section() const { return section_; }
  const qv::ListLook& Look() const { return look_; }
  // Uses a look without storing it (a preview).
  void SetLook(const qv::ListLook& look);

  QString EmptyText() const { return emptyText_; }
  void SetEmptyText(const QString& text);

  // Rows drawn in "Row Color-3".
  void SetMarkedRows(const QSet<int>& rows);
  const QSet<int>& MarkedRows() const { return marked_; }

  // The background of a row as drawn.
  QColor RowBackground(int row, bool selected) const;
  // The colours the marks of this list stand for.
  qv::MarkupPalette MarkupColors() const;

  // Sets the widths of the model's columns: the width remembered for each
  // column name, else the given one. While `remember` is on, every width the
  // user gives a column is remembered under its name.
  void ApplyColumnWidths(const std::vector<qv::ListColumn>& columns);
  void SetRememberWidths(bool remember) { rememberWidths_ = remember; }
  // Writes the current width of every column under its name.
  void SaveColumnWidths() const;

  // The sort marker of a column (-1: none).
  void SetSortMarker(int column, bool ascending);
  int SortMarkerColumn() const { return sortColumn_; }

  // The marked-up text of a cell, found by the column's header text.
  QString GetCellText(const QString& columnName, int row) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnSectionResized(int column, int oldSize, int newSize);
  // The name of a shown column (not always its header text).
  QString ColumnNameAt(int column) const;

  QString section_;
  qv::ListLook look_;
  QString emptyText_;
  QSet<int> marked_;
  bool rememberWidths_ = false;
  bool applyingWidths_ = false;
  int sortColumn_ = -1;
};
