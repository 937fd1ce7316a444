#include "app/view/corvane_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSet>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/corvane_doc.h"
#include "app/view/big_list_view.h"
#include "app/view/domain_list_model.h"
#include "app/view/raw_whois_pane.h"
#include "platform/ascii.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "store/domain_list.h"
#include "store/list_query.h"
#include "store/sort_list.h"

namespace {

constexpr const char* kPaneTopKey = "Domain List View Top";
constexpr const char* kPaneBottomKey = "Domain List View Bottom";
// The list gets most of the height; the raw answer a quarter.
constexpr int kPaneTopDefault = 600;
constexpr int kPaneBottomDefault = 200;

const char* kEmptyListText = "No domains in list";
const char* kEmptyFilteredText = "No domains in filtered list";
// While the rows of a query that found none yet are still being read.
const char* kReadingListText = "Reading the list...";

// True when the document's table holds any row (the shown list may still be
// empty because its query leaves them out).
bool TableHasRows(qv::DomainDatabase& db) {
  if (!db.HasPath() || !db.list().IsOpen()) return false;
  qv::Statement row = db.list().PrepareNative("SELECT 1 FROM \"Domains\" LIMIT 1", "Counting Rows");
  return row && row.Next() == qv::Statement::Step::Row;
}

}  // namespace

CCorvaneView::CCorvaneView(CCorvaneDoc* doc, QWidget* parent) : QWidget(parent), doc_(doc) {
  splitter_ = new QSplitter(Qt::Vertical, this);
  list_ = new CBigListView(QString::fromLatin1(qv::kMainListSection), splitter_);
  model_ = new qv::DomainListModel(this);
  list_->setModel(model_);
  list_->SetRememberWidths(true);
  pane_ = new qv::RawWhoisPane(splitter_);
  splitter_->addWidget(list_);
  splitter_->addWidget(pane_);
  splitter_->setChildrenCollapsible(false);
  // A taller window makes the list taller, not the raw answer.
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);
  RestorePaneHeights();

  model_->SetContext(qv::CellTextContext::FromSettings());
  SetDisplayMode(qv::StoredDisplayMode());

  connect(splitter_, &QSplitter::splitterMoved, this, [this] { StorePaneHeights(); });
  connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { SortByColumn(column); });
  connect(list_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { emit contextMenuRequested(list_->viewport()->mapToGlobal(pos)); });
  connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { OnCurrentChanged(); });
  if (doc_) {
    connect(doc_, &CCorvaneDoc::listChanged, this, [this] { OnListChanged(); });
    connect(doc_, &CCorvaneDoc::listGrew, this, [this] {
      const bool wasEmpty = model_->rowCount() == 0;
      model_->ListGrew();
      if (wasEmpty) UpdateWhoisPane();
    });
    // A list whose first page came empty says what it is once it is whole.
    connect(doc_, &CCorvaneDoc::listCompleted, this, [this] {
      UpdateEmptyText();
      if (model_->rowCount() == 0) UpdateWhoisPane();
    });
    connect(doc_, &CCorvaneDoc::documentChanged, this, [this] { OnListChanged(); });
    connect(doc_, &CCorvaneDoc::recordChanged, this, [this](const QString& name) { RefreshRow(name); });
  }
  OnListChanged();
  // Until a document's list has been read, the list says so the plain way.
  if (!doc_ || !doc_->IsOpen()) list_->SetEmptyText(QString::fromLatin1("No domains in list."));
}

CCorvaneView::~CCorvaneView() = default;

void CCorvaneView::RestorePaneHeights() {
  const int top = qv::GetProfileInt(qv::kSettingsSection, kPaneTopKey, kPaneTopDefault);
  const int bottom = qv::GetProfileInt(qv::kSettingsSection, kPaneBottomKey, kPaneBottomDefault);
  splitter_->setSizes({std::max(top, 1), std::max(bottom, 1)});
}

void CCorvaneView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  // The stored heights were measured in another window size: what counts is
  // their share, taken from the height the view really has now.
  // Once the window's layout has settled.
  QTimer::singleShot(0, this, [this] {
    const int top = std::max(qv::GetProfileInt(qv::kSettingsSection, kPaneTopKey, kPaneTopDefault), 1);
    const int bottom = std::max(qv::GetProfileInt(qv::kSettingsSection, kPaneBottomKey, kPaneBottomDefault), 1);
    const int height = splitter_->height();
    if (height > 0) splitter_->setSizes({height * top / (top + bottom), height * bottom / (top + bottom)});
  });
}

void CCorvaneView::StorePaneHeights() {
  const QList<int> sizes = splitter_->sizes();
  if (sizes.size() != 2) return;
  qv::WriteProfileInt(qv::kSettingsSection, kPaneTopKey, sizes[0]);
  qv::WriteProfileInt(qv::kSettingsSection, kPaneBottomKey, sizes[1]);
}

QStringList CCorvaneView::SelectedNames() const {
  std::vector<int> rows;
  for (const QItemSelectionRange& range : list_->selectionModel()->selection())
    for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  QStringList names;
  names.reserve(qsizetype(rows.size()));
  for (int row : rows) names << model_->NameAt(row);
  return names;
}

QStringList CCorvaneView::AllShownNames() const {
  if (doc_) doc_->ReadWholeList();
  QStringList names;
  const int count = qv::GetListCount();
  names.reserve(count);
  for (int row = 0; row < count; ++row) names << qv::ToQString(qv::ShownList().NameAt(row));
  return names;
}

QString CCorvaneView::CurrentName() const {
  const QModelIndex current = list_->currentIndex();
  return current.isValid() ? model_->NameAt(current.row()) : QString();
}

int CCorvaneView::RowOfName(const QString& name) const {
  const std::string wanted = qv::ToStdString(name);
  const int count = qv::GetListCount();
  // The rows on screen first: a name just written is usually one of them.
  const int first = std::max(0, list_->rowAt(0));
  const int last = list_->rowAt(list_->viewport()->height());
  for (int row = first; row <= (last < 0 ? count - 1 : last) && row < count; ++row)
    if (qv::EqualsNoCase(qv::ShownList().NameAt(row), wanted)) return row;
  for (int row = 0; row < count; ++row)
    if (qv::EqualsNoCase(qv::ShownList().NameAt(row), wanted)) return row;
  return -1;
}

void CCorvaneView::SelectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  const QModelIndex index = model_->index(row, 0);
  list_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  list_->scrollTo(index);
}

void CCorvaneView::SelectName(const QString& name) { SelectRow(RowOfName(name)); }

void CCorvaneView::SelectNames(const QStringList& names) {
  QSet<QString> wanted;
  for (const QString& name : names) wanted.insert(name.toLower());
  QItemSelection selection;
  int first = -1;
  // One pass over the list, however many names are wanted.
  for (int row = 0, count = qv::GetListCount(); row < count && !wanted.isEmpty(); ++row) {
    if (!wanted.contains(qv::ToQString(qv::ShownList().NameAt(row)).toLower())) continue;
    if (first < 0) first = row;
    selection.select(model_->index(row, 0), model_->index(row, model_->columnCount() - 1));
  }
  list_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (first >= 0) list_->scrollTo(model_->index(first, 0));
}

void CCorvaneView::SetDisplayMode(int commandId) {
  if (commandId == 0) commandId = mode_;
  if (model_->columnCount() > 0) list_->SaveColumnWidths();
  const std::vector<qv::ListColumn> columns = qv::ModeColumns(commandId);
  model_->SetColumns(columns);
  list_->ApplyColumnWidths(columns);
  list_->SetSortMarker(-1, true);
  mode_ = commandId;
  qv::StoreDisplayMode(commandId);
}

void CCorvaneView::RefreshRow(const QString& name) {
  const int row = RowOfName(name);
  model_->RowChanged(row);
  if (row >= 0 && CurrentName().compare(name, Qt::CaseInsensitive) == 0) UpdateWhoisPane();
}

void CCorvaneView::Refresh() {
  qv::ShownList().ClearCache();
  model_->SetContext(qv::CellTextContext::FromSettings());
  list_->viewport()->update();
  UpdateWhoisPane();
}

void CCorvaneView::ApplyListSettings() { list_->ApplyListSettings(); }

QString CCorvaneView::GetCellText(const QString& columnName, int row) const {
  return model_->CellText(row, columnName);
}

bool CCorvaneView::SortByColumn(int column) {
  const int oldColumn = list_->SortMarkerColumn();
  const bool oldAscending = list_->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder;
  if (!doc_ || !doc_->IsOpen() || column < 0 || column >= model_->columnCount()) {
    list_->SetSortMarker(oldColumn, oldAscending);
    return false;
  }
  // A second click on the sorted column turns its order round.
  bool ascending = true;
  if (!qv::AlwaysSortAscending()) ascending = column == oldColumn ? !oldAscending : qv::GetSortDirection();
  const QString name = model_->Columns()[std::size_t(column)].name;
  if (!SortByField(name, ascending)) {
    list_->SetSortMarker(oldColumn, oldAscending);
    return false;
  }
  list_->SetSortMarker(column, ascending);
  return true;
}

bool CCorvaneView::SortByField(const QString& field, bool ascending) {
  sorting_ = true;
  const bool sorted = qv::SortList(doc_->Database(), qv::ToStdString(field), ascending);
  sorting_ = false;
  if (!sorted) {
    const std::string error = qv::ListErrorText();
    emit sortFailed(error.empty() ? tr("The list cannot be sorted by \"%1\".").arg(field) : qv::ToQString(error));
    return false;
  }
  sortedQuery_ = qv::CurrentListQuery();
  qv::StoreSortChoice({qv::ToStdString(field), ascending});
  return true;
}

void CCorvaneView::RestoreSortChoice() {
  const qv::ListSortChoice choice = qv::StoredSortChoice();
  if (!doc_ || !doc_->IsOpen() || choice.field.empty()) return;
  if (!SortByField(qv::ToQString(choice.field), choice.ascending)) return;
  const std::vector<qv::ListColumn>& columns = model_->Columns();
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (columns[i].name.compare(qv::ToQString(choice.field), Qt::CaseInsensitive) == 0)
      list_->SetSortMarker(int(i), choice.ascending);
}

void CCorvaneView::OnListChanged() {
  model_->ListReloaded();
  // A list that another command ordered has no sorted column any more.
  if (!sorting_ && qv::CurrentListQuery() != sortedQuery_) list_->SetSortMarker(-1, true);
  UpdateEmptyText();
  UpdateWhoisPane();
}

void CCorvaneView::UpdateEmptyText() {
  if (model_->rowCount() > 0) return;
  if (qv::ListStillReading()) {
    list_->SetEmptyText(QString::fromLatin1(kReadingListText));
    return;
  }
  const bool filtered = doc_ && TableHasRows(doc_->Database());
  list_->SetEmptyText(QString::fromLatin1(filtered ? kEmptyFilteredText : kEmptyListText));
}

void CCorvaneView::OnCurrentChanged() {
  UpdateWhoisPane();
  emit currentNameChanged(CurrentName());
}

void CCorvaneView::UpdateWhoisPane() {
  if (model_->rowCount() == 0) {
    // Rows may still come: nothing to say about the list yet.
    if (qv::ListStillReading())
      pane_->ShowNoSelection();
    else
      pane_->ShowEmptyList();
    return;
  }
  const QString name = CurrentName();
  if (name.isEmpty()) {
    pane_->ShowNoSelection();
    return;
  }
  qv::DomainRecord record;
  qv::GetListRecordAt(list_->currentIndex().row(), record);
  pane_->ShowName(name, qv::ToQString(qv::RawWhoisTextOf(qv::ToStdString(name), record.whoisText)));
}
