// The table model over the shown list (store/domain_list.h). It holds no
// rows: the row count is the list's, and a cell's text is made when the view
// asks for it, from the record of that row read by name (the list keeps a
// small cache of the rows read last). Only the rows a view draws are read.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include "app/view/cell_text.h"
#include "app/view/display_modes.h"
#include "store/domain_record.h"

namespace qv {

class DomainListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The text without marks, for searching and copying.
  static constexpr int kPlainTextRole = Qt::UserRole + 1;
  // A header's column name (the display text may differ: ColumnHeaderText).
  static constexpr int kColumnNameRole = Qt::UserRole + 2;

  explicit DomainListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void SetColumns(const std::vector<ListColumn>& columns);
  const std::vector<ListColumn>& Columns() const { return columns_; }
  int ColumnOfName(const QString& name) const;  // -1 when not shown

  // The settings the texts depend on; SetContext redraws every row.
  const CellTextContext& Context() const { return context_; }
  void SetContext(CellTextContext context);

  // The marked-up text of one cell; "" for an empty column name or a row
  // outside the list.
  QString CellText(int row, const QString& column) const;
  // The name of a row ("" outside the list).
  QString NameAt(int row) const;

  // After the list was run again: every row and the row count change.
  void ListReloaded();
  // After rows were added at the end of the list (it is still being read).
  void ListGrew();
  // After one record was written: the list forgets its cached rows and the
  // row is drawn again.
  void RowChanged(int row);

 private:
  bool RecordOfRow(int row) const;

  std::vector<ListColumn> columns_;
  CellTextContext context_;
  // The rows the views know of: the list's count when last told.
  int rows_ = 0;
  // The record of the row asked for last, so a row's cells share one read.
  mutable int cachedRow_ = -1;
  mutable DomainRecord cachedRecord_;
};

}  // namespace qv
