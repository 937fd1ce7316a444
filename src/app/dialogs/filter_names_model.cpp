#include "app/dialogs/filter_names_model.h"

#include "platform/text.h"

namespace qv {

int CFilterNamesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(names_.size());
}

QVariant CFilterNamesModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || std::size_t(index.row()) >= names_.size()) return {};
  return ToQString(names_[std::size_t(index.row())]);
}

QVariant CFilterNamesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section == 0) return tr("Domains");
  return QAbstractListModel::headerData(section, orientation, role);
}

}  // namespace qv
