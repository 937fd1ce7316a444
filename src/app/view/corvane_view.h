// The main list window: the shown list of the open document on top and, under
// a splitter, the raw whois answer of the selected name with its heading.
// The pane heights come from "Domain List View Top" and "Domain List View
// Bottom" and are written back when the user moves the splitter.
#pragma once

#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <string>

class CCorvaneDoc;
class CBigListView;
class QSplitter;

namespace qv {
class DomainListModel;
class RawWhoisPane;
struct CellTextContext;
}  // namespace qv

class CCorvaneView : public QWidget {
  Q_OBJECT

 public:
  CCorvaneView(CCorvaneDoc* doc, QWidget* parent = nullptr);
  ~CCorvaneView() override;

  CCorvaneDoc* Document() const { return doc_; }
  CBigListView* ListView() const { return list_; }
  qv::DomainListModel* Model() const { return model_; }
  qv::RawWhoisPane* WhoisPane() const { return pane_; }
  QSplitter* Splitter() const { return splitter_; }

  // Names of the selected rows, in row order.
  QStringList SelectedNames() const;
  // Every name of the shown list, in row order (once the rows still being
  // read are in).
  QStringList AllShownNames() const;
  // The name of the current row ("" when there is none).
  QString CurrentName() const;
  // Makes the row of `name` (any capitals) the only selected row and scrolls
  // to it; nothing happens when the name is not shown.
  void SelectName(const QString& name);
  // Makes these names the selection (names not shown are left out).
  void SelectNames(const QStringList& names);
  // Selects one row by position (out of range: nothing happens).
  void SelectRow(int row);

  // The display mode as its command identifier ("Domain List Mode").
  int DisplayMode() const { return mode_; }
  // Rebuilds the columns for the mode of `commandId` and stores it; 0 applies
  // the current mode again (after its columns were configured).
  void SetDisplayMode(int commandId);

  // Reads the record of `name` again and redraws its row and the whois pane.
  void RefreshRow(const QString& name);
  // Reads the settings that change the cell texts (expiry days, tagged
  // e-mails, important domains) and redraws everything.
  void Refresh();
  // Reads the colours, the row height and the font of the list again.
  void ApplyListSettings();

  // The marked-up text of one cell of the shown list ("" outside it).
  QString GetCellText(const QString& columnName, int row) const;

  // Sorts the list by the field of a column (column-header click); false when
  // the column names no field.
  bool SortByColumn(int column);
  // Sorts the list by a field; a failure is told through sortFailed.
  bool SortByField(const QString& field, bool ascending);
  // Sorts the list as the user last sorted it by a column (kept between runs).
  void RestoreSortChoice();

 signals:
  void contextMenuRequested(QPoint globalPos);
  // The current row changed (its name, "" for none).
  void currentNameChanged(QString name);
  // Sorting failed; the text says why.
  void sortFailed(QString text);

 private:
  void OnListChanged();
  void OnCurrentChanged();
  void UpdateEmptyText();
  void UpdateWhoisPane();
  void RestorePaneHeights();
  void showEvent(QShowEvent* event) override;
  void StorePaneHeights();
  int RowOfName(const QString& name) const;

  CCorvaneDoc* doc_;
  QSplitter* splitter_ = nullptr;
  CBigListView* list_ = nullptr;
  qv::DomainListModel* model_ = nullptr;
  qv::RawWhoisPane* pane_ = nullptr;
  int mode_ = 0;
  bool sorting_ = false;
  bool shownOnce_ = false;
  std::string sortedQuery_;  // the list query of the last column sort
};
