#include "app/view/big_list_view.h"

#include <QHeaderView>
#include <QPainter>

#include "app/view/domain_list_model.h"
#include "app/view/markup_delegate.h"
#include "platform/text.h"

CBigListView::CBigListView(const QString& section, QWidget* parent)
    : QTableView(parent), section_(section) {
  setItemDelegate(new qv::MarkupDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setSortIndicatorShown(false);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, &CBigListView::OnSectionResized);
  ApplyListSettings();
}

void CBigListView::ApplyListSettings() { ApplyListSettings(section_); }

void CBigListView::ApplyListSettings(const QString& section) {
  SetLook(qv::ReadListLook(qv::ToStdString(section)));
}

void CBigListView::SetLook(const qv::ListLook& look) {
  const bool firstLook = emptyText_.isNull();
  look_ = look;
  if (firstLook) emptyText_ = look.emptyText;
  const QFont font = look_.Font();
  setFont(font);
  verticalHeader()->setDefaultSectionSize(qv::RowHeightPixels(font, look_.rowHeightPercent));
  viewport()->update();
}

void CBigListView::SetEmptyText(const QString& text) {
  if (text == emptyText_) return;
  emptyText_ = text;
  viewport()->update();
}

void CBigListView::SetMarkedRows(const QSet<int>& rows) {
  marked_ = rows;
  viewport()->update();
}

QColor CBigListView::RowBackground(int row, bool selected) const {
  if (selected) return palette().color(QPalette::Active, QPalette::Highlight);
  if (marked_.contains(row)) return look_.rowColor3;
  return row % 2 == 0 ? look_.rowColor2 : look_.rowColor1;
}

qv::MarkupPalette CBigListView::MarkupColors() const {
  return {look_.FontColor(), look_.textColor1, look_.textColor2,
          palette().color(QPalette::Active, QPalette::HighlightedText)};
}

void CBigListView::ApplyColumnWidths(const std::vector<qv::ListColumn>& columns) {
  applyingWidths_ = true;
  for (std::size_t i = 0; i < columns.size(); ++i)
    setColumnWidth(int(i), qv::RememberedColumnWidth(columns[i].name, columns[i].width));
  applyingWidths_ = false;
}

QString CBigListView::ColumnNameAt(int column) const {
  // The list's model names its columns apart from the header texts.
  const QVariant name = model()->headerData(column, Qt::Horizontal, qv::DomainListModel::kColumnNameRole);
  return name.isValid() ? name.toString() : model()->headerData(column, Qt::Horizontal).toString();
}

void CBigListView::SaveColumnWidths() const {
  if (!model()) return;
  for (int c = 0; c < model()->columnCount(); ++c)
    qv::RememberColumnWidth(ColumnNameAt(c), columnWidth(c));
}

void CBigListView::OnSectionResized(int column, int, int newSize) {
  if (!rememberWidths_ || applyingWidths_ || !model() || newSize <= 0) return;
  qv::RememberColumnWidth(ColumnNameAt(column), newSize);
}

void CBigListView::SetSortMarker(int column, bool ascending) {
  sortColumn_ = column;
  horizontalHeader()->setSortIndicatorShown(column >= 0);
  horizontalHeader()->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QString CBigListView::GetCellText(const QString& columnName, int row) const {
  if (!model() || columnName.isEmpty() || row < 0 || row >= model()->rowCount()) return {};
  for (int c = 0; c < model()->columnCount(); ++c)
    if (ColumnNameAt(c).compare(columnName, Qt::CaseInsensitive) == 0)
      return model()->index(row, c).data(Qt::DisplayRole).toString();
  return {};
}

void CBigListView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  if (model() && model()->rowCount() > 0) return;
  QPainter painter(viewport());
  painter.setFont(look_.Font());
  painter.setPen(look_.FontColor());
  painter.drawText(viewport()->rect().adjusted(8, 8, -8, -8), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   emptyText_);
}
