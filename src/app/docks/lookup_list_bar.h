// The list of the "Lookup Queue" bar (LookupListBar): virtual rows, read from
// whoever owns the queues (the lookup engine) through two functions, so that a
// queue of a million names costs nothing until its rows are drawn. Rows may
// carry the list's colour marks (running work is marked "<#!1>"). With no
// rows it shows "Empty Lookup Queue".
#pragma once

#include <QAbstractListModel>
#include <functional>

#include "app/view/big_list_view.h"

class CLookupListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  using CountFunction = std::function<int()>;
  // The text of a row, colour marks included.
  using RowFunction = std::function<QString(int row)>;

  explicit CLookupListModel(QObject* parent = nullptr);
  void SetSource(CountFunction count, RowFunction row);
  // Reads the row count again and redraws.
  void Refresh();

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  CountFunction count_;
  RowFunction row_;
  int rows_ = 0;
};

class CLookupListBar : public CBigListView {
  Q_OBJECT

 public:
  static constexpr const char* kEmptyText = "Empty Lookup Queue";

  explicit CLookupListBar(QWidget* parent = nullptr);
  CLookupListModel* Model() const { return model_; }
  // The engine's rows: how many there are and the text of each.
  void SetSource(CLookupListModel::CountFunction count, CLookupListModel::RowFunction row);
  // Reads the row count again (each tick while the bar is shown, after each
  // whois completion).
  void Refresh();

 private:
  CLookupListModel* model_;
};
