// The text of one cell of the domain list, with its colour marks (see
// markup.h). The same texts feed the list, the properties window, copying
// and export (which strip the marks with StripMarkup).
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"
#include "store/domain_record.h"

namespace qv {

// What the cell texts depend on besides the record.
struct CellTextContext {
  // "Expiry Date Highlight": expiry dates before now plus this many days are
  // marked.
  int expiryHighlightDays = 30;
  // "Highlight Important Domains": members of "Most Important Domains" are
  // marked in the name column.
  bool highlightImportant = false;
  // The user's own management addresses ("Edit Tagged Email List"); an
  // address in this list is shown plain. Compared without regard to case.
  std::vector<std::string> taggedEmails;
  // The name shown for a registrar ("" for none); unset: the registrar itself.
  std::function<std::string(std::string_view registrar)> registrarAlias;
  // "Now" for the expiry marks; a null date means the clock.
  Date now;

  // The values as the settings hold them now.
  static CellTextContext FromSettings();
};

// The marked-up text of the cell in `column` for the row `row` (0-based)
// showing `record`. An empty column name or a negative row gives "".
QString GetCellText(const DomainRecord& record, int row, const QString& column,
                    const CellTextContext& context);
std::string CellText(const DomainRecord& record, int row, std::string_view column,
                     const CellTextContext& context);

// The record's own text for a field name (aliases allowed), marks included;
// "" for the web-check columns, which WebCheckText formats.
std::string RecordFieldText(const DomainRecord& record, std::string_view name,
                            const CellTextContext& context);
// True for the columns that show the results of the web checks (ping, home
// page, link popularity, trademark search and their check dates).
bool IsWebCheckColumn(std::string_view column);
// A web-check column's text made from the record's values.
std::string WebCheckText(const DomainRecord& record, std::string_view column);

// The column names of a display mode (its command identifier), "#" and
// "Domain" first, as the list shows them: the user's stored list when there
// is one, else the mode's default columns.
QStringList ColumnsOfMode(int mode);

}  // namespace qv
