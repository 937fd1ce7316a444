#include "app/commands/table_text.h"

#include "platform/text.h"
#include "store/find_domain.h"

namespace qv {
namespace {

QString StripMarks(const QString& shown) {
  if (!shown.contains(QLatin1Char('<')) && !shown.contains(QLatin1String("[{")) &&
      !shown.contains(QLatin1String("}]")))
    return shown;
  return ToQString(StripListMarkup(ToStdString(shown)));
}

QString CommaField(const QString& text) {
  const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                     text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
  if (!quote) return text;
  QString field = text;
  field.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QLatin1Char('"') + field + QLatin1Char('"');
}

QString TabField(QString text) {
  for (QChar& c : text)
    if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
  return text;
}

bool IsNumberColumn(const QString& column) { return column == QLatin1String("#"); }

}  // namespace

QString TableCellText(const QString& shown, TableTextForm form) {
  const QString plain = StripMarks(shown);
  return form == TableTextForm::Tabs ? TabField(plain) : CommaField(plain);
}

QString TableLine(const QStringList& shownCells, TableTextForm form) {
  const QLatin1Char separator(form == TableTextForm::Tabs ? '\t' : ',');
  QString line;
  for (const QString& cell : shownCells) {
    line += TableCellText(cell, form);
    line += separator;
  }
  line += QLatin1String("\r\n");
  return line;
}

bool WriteTableLines(const TableSource& source, TableTextForm form, const TableProgress& progress,
                     const TableLineSink& sink) {
  QStringList cells;
  QStringList kept;
  for (int row = 0; row < source.rowCount; ++row) {
    if (progress && row % kTableProgressStep == 0 && !progress(row, source.rowCount)) return false;
    cells.clear();
    if (!source.cells || !source.cells(row, cells)) continue;
    kept.clear();
    for (int i = 0; i < source.columns.size(); ++i)
      if (!IsNumberColumn(source.columns[i])) kept << (i < cells.size() ? cells[i] : QString());
    if (!sink(TableLine(kept, form))) return false;
  }
  if (progress && !progress(source.rowCount, source.rowCount)) return false;
  return true;
}

QString BuildTableText(const TableSource& source, TableTextForm form, const TableProgress& progress) {
  QString text = QLatin1String("");  // not null: an empty table is an empty text
  const bool done = WriteTableLines(source, form, progress, [&text](const QString& line) {
    text += line;
    return true;
  });
  return done ? text : QString();
}

}  // namespace qv
