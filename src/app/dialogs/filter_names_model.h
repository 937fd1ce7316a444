// The list model of the "Domain Name Filter" tool: a plain list of names in
// one column headed "Domains", read by the view only for the rows it draws.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace qv {

class CFilterNamesModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit CFilterNamesModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const std::vector<std::string>& Names() const { return names_; }
  // Changes the list through `change` and tells the view to read it again.
  template <typename Change>
  void Edit(Change&& change) {
    beginResetModel();
    change(names_);
    endResetModel();
  }

 private:
  std::vector<std::string> names_;
};

}  // namespace qv
