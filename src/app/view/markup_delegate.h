// Draws the cells of a CBigListView: the row background (the two alternating
// row colours, the marked-row colour, or the selection) and the cell's text
// with its colour marks.
#pragma once

#include <QStyledItemDelegate>

class CBigListView;

namespace qv {

class MarkupDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit MarkupDelegate(CBigListView* view);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // The room a cell's text gets inside the cell.
  static QRect TextRect(const QRect& cell);

 private:
  CBigListView* view_;
};

}  // namespace qv
