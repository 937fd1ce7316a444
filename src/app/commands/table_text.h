// The shown list as text: tab-separated for the clipboard, comma-separated
// for a file. Every cell is the text the list shows with its colour marks
// removed; the row-number column "#" is left out.
//
// Tab-separated: each cell followed by a TAB, each line ending in CR LF. A
// TAB, CR or LF inside a cell becomes a blank, so a cell never breaks its row.
// Comma-separated: each field followed by ","; a field holding a comma, a
// double quote, CR or LF is put in double quotes with its quotes doubled.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace qv {

enum class TableTextForm { Tabs, Commas };

// Title of the progress window while the text is built.
inline constexpr const char* kPreparingDataTitle = "Preparing Data";
// The progress is reported every this many rows.
inline constexpr int kTableProgressStep = 50;

// The rows to write. `columns` are the shown columns in order ("#" is
// skipped wherever it stands); `cells` fills the shown texts of row i (0 ..
// rowCount-1) in the order of `columns`, markup included, and may return
// false for a row that can no longer be read (it is left out).
struct TableSource {
  QStringList columns;
  int rowCount = 0;
  std::function<bool(int row, QStringList& cells)> cells;
};

// Called every kTableProgressStep rows with (rows done, rowCount); false
// cancels.
using TableProgress = std::function<bool(int done, int total)>;
// Takes each finished line (line end included); false stops (a write failed).
using TableLineSink = std::function<bool(const QString& line)>;

// One cell as the text forms carry it: markup removed; for the tab form
// TAB, CR and LF become blanks; for the comma form quoted when needed.
QString TableCellText(const QString& shown, TableTextForm form);
// One line of cells in the given form, line end included.
QString TableLine(const QStringList& shownCells, TableTextForm form);

// Hands every line of the table to `sink`. False when cancelled or when the
// sink refused a line.
bool WriteTableLines(const TableSource& source, TableTextForm form, const TableProgress& progress,
                     const TableLineSink& sink);

// The whole table as one text; a null QString when cancelled.
QString BuildTableText(const TableSource& source, TableTextForm form = TableTextForm::Tabs,
                       const TableProgress& progress = {});

}  // namespace qv
