#include "app/commands/list_rows.h"

#include "app/corvane_doc.h"
#include "app/main_frame.h"
#include "app/progress.h"
#include "app/view/corvane_view.h"
#include "app/view/display_modes.h"
#include "platform/text.h"
#include "store/domain_list.h"
#include "whois/availability.h"

namespace qv {
namespace {

constexpr int kAvailableProgressStep = 200;

}  // namespace

QStringList ShownColumns(CMainFrame& frame) {
  return ColumnsOfMode(frame.View() ? frame.View()->DisplayMode() : StoredDisplayMode());
}

QStringList AllListNames(CMainFrame& frame) {
  frame.Document().ReadWholeList();
  DomainList& list = ShownList();
  const int count = list.Count();
  QStringList names;
  names.reserve(count);
  for (int i = 0; i < count; ++i) names << ToQString(list.NameAt(i));
  return names;
}

TableSource TableOfNames(DomainDatabase& db, const QStringList& names, const QStringList& columns,
                         const CellTextContext& context) {
  TableSource source;
  source.columns = columns;
  source.rowCount = int(names.size());
  source.cells = [&db, names, columns, context](int row, QStringList& cells) {
    DomainRecord record;
    if (!db.ReadRecord(ToStdString(names[row]), record)) return false;
    for (const QString& column : columns) cells << GetCellText(record, row, column, context);
    return true;
  };
  return source;
}

QStringList AvailableNames(DomainDatabase& db, const QStringList& names, QWidget* parent,
                           bool& cancelled) {
  ProgressWindow window(parent, QObject::tr("Getting Available Names"));
  QStringList available;
  cancelled = false;
  for (qsizetype i = 0; i < names.size(); ++i) {
    if (i % kAvailableProgressStep == 0 && !window.Advance(i, names.size())) {
      cancelled = true;
      return available;
    }
    const std::string availability = db.GetFieldText(ToStdString(names[i]), "Availability");
    if (AvailabilityCode(availability) == 1) available << names[i];
  }
  return available;
}

}  // namespace qv
