#include "app/docks/lookup_list_bar.h"

#include <QHeaderView>

CLookupListModel::CLookupListModel(QObject* parent) : QAbstractListModel(parent) {}

void CLookupListModel::SetSource(CountFunction count, RowFunction row) {
  count_ = std::move(count);
  row_ = std::move(row);
  Refresh();
}

void CLookupListModel::Refresh() {
  // Rows are added or removed at the end rather than the model reset, so the
  // bar keeps its scroll position from tick to tick.
  const int rows = count_ ? std::max(0, count_()) : 0;
  if (rows > rows_) {
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  } else if (rows < rows_) {
    beginRemoveRows({}, rows, rows_ - 1);
    rows_ = rows;
    endRemoveRows();
  }
  if (rows_ > 0) emit dataChanged(index(0), index(rows_ - 1));
}

int CLookupListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant CLookupListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || !row_) return {};
  if (role == Qt::DisplayRole) return row_(index.row());
  return {};
}

CLookupListBar::CLookupListBar(QWidget* parent)
    : CBigListView(QString::fromLatin1(qv::kDefaultListSection), parent),
      model_(new CLookupListModel(this)) {
  setObjectName(QStringLiteral("LookupListBar"));
  setModel(model_);
  SetEmptyText(tr(kEmptyText));
  horizontalHeader()->hide();
  horizontalHeader()->setStretchLastSection(true);
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
}

void CLookupListBar::SetSource(CLookupListModel::CountFunction count,
                               CLookupListModel::RowFunction row) {
  model_->SetSource(std::move(count), std::move(row));
}

void CLookupListBar::Refresh() { model_->Refresh(); }
