// The rows of the domain list as the copy and export commands read them: the
// shown columns, the names in list order, and a table source that reads each
// name's record when its line is written.
#pragma once

#include <QStringList>

#include "app/commands/table_text.h"
#include "app/view/cell_text.h"

class CMainFrame;
class QWidget;

namespace qv {

class DomainDatabase;

// The columns the list shows now, "#" and "Domain" first.
QStringList ShownColumns(CMainFrame& frame);
// Every name of the shown list, in order (a copy: the list may be run again
// while a command works through it). Rows still being read are waited for.
QStringList AllListNames(CMainFrame& frame);

// The table of `names` in `columns`: each row's record is read by name from
// the document when its line is made; a name no longer stored is left out.
TableSource TableOfNames(DomainDatabase& db, const QStringList& names, const QStringList& columns,
                         const CellTextContext& context);

// The names whose stored availability says "free", under the progress window
// "Getting Available Names"; `cancelled` is set when the user stopped it.
QStringList AvailableNames(DomainDatabase& db, const QStringList& names, QWidget* parent,
                           bool& cancelled);

}  // namespace qv
