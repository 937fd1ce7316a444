#include "app/view/domain_list_model.h"

#include <algorithm>

#include "app/view/markup.h"
#include "platform/text.h"
#include "store/domain_list.h"

namespace qv {

DomainListModel::DomainListModel(QObject* parent) : QAbstractTableModel(parent), rows_(GetListCount()) {}

int DomainListModel::rowCount(const QModelIndex& parent) const {
  // A list emptied behind the model's back (its document closed) shows no rows.
  return parent.isValid() ? 0 : std::min(rows_, GetListCount());
}

int DomainListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(columns_.size());
}

bool DomainListModel::RecordOfRow(int row) const {
  if (row == cachedRow_) return true;
  cachedRow_ = -1;
  if (!GetListRecordAt(row, cachedRecord_)) return false;
  cachedRow_ = row;
  return true;
}

QString DomainListModel::CellText(int row, const QString& column) const {
  if (column.isEmpty() || row < 0 || row >= GetListCount()) return {};
  if (!RecordOfRow(row)) return column == QLatin1String("#") ? QString::number(row + 1) : QString();
  return GetCellText(cachedRecord_, row, column, context_);
}

QString DomainListModel::NameAt(int row) const { return ToQString(ShownList().NameAt(row)); }

QVariant DomainListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= int(columns_.size())) return {};
  if (role != Qt::DisplayRole && role != kPlainTextRole && role != Qt::ToolTipRole) return {};
  const QString text = CellText(index.row(), columns_[std::size_t(index.column())].name);
  return role == Qt::DisplayRole ? text : StripMarkup(text);
}

QVariant DomainListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != kColumnNameRole)) return {};
  if (section < 0 || section >= int(columns_.size())) return {};
  const QString& name = columns_[std::size_t(section)].name;
  return role == kColumnNameRole ? name : ColumnHeaderText(name);
}

void DomainListModel::SetColumns(const std::vector<ListColumn>& columns) {
  beginResetModel();
  columns_ = columns;
  endResetModel();
}

int DomainListModel::ColumnOfName(const QString& name) const {
  for (std::size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
  return -1;
}

void DomainListModel::SetContext(CellTextContext context) {
  context_ = std::move(context);
  if (rowCount() > 0 && columnCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void DomainListModel::ListReloaded() {
  beginResetModel();
  cachedRow_ = -1;
  rows_ = GetListCount();
  endResetModel();
}

void DomainListModel::ListGrew() {
  const int count = GetListCount();
  if (count <= rows_) return;
  beginInsertRows({}, rows_, count - 1);
  rows_ = count;
  endInsertRows();
}

void DomainListModel::RowChanged(int row) {
  ShownList().ClearCache();
  cachedRow_ = -1;
  if (row < 0 || row >= rowCount() || columnCount() == 0) return;
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

}  // namespace qv
