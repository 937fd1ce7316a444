#include "app/view/markup_delegate.h"

#include <QFontMetrics>
#include <QPainter>

#include "app/view/big_list_view.h"
#include "app/view/markup.h"

namespace qv {

namespace {
constexpr int kTextMargin = 3;
}

MarkupDelegate::MarkupDelegate(CBigListView* view) : QStyledItemDelegate(view), view_(view) {}

QRect MarkupDelegate::TextRect(const QRect& cell) {
  return cell.adjusted(kTextMargin, 0, -kTextMargin, 0);
}

void MarkupDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  painter->fillRect(option.rect, view_->RowBackground(index.row(), selected));
  const QString text = index.data(Qt::DisplayRole).toString();
  DrawMarkupText(*painter, text, TextRect(option.rect), selected, view_->MarkupColors(),
                 view_->Look().Font());
}

QSize MarkupDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const {
  const QFontMetrics metrics(view_->Look().Font());
  const QString plain = StripMarkup(index.data(Qt::DisplayRole).toString());
  return QSize(metrics.horizontalAdvance(plain) + 2 * kTextMargin,
               RowHeightPixels(view_->Look().Font(), view_->Look().rowHeightPercent));
}

}  // namespace qv
