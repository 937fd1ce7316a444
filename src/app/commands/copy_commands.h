// The clipboard commands of the list: names (selected or all), rows
// (selected or the whole table as tab-separated text) and the available names.
#pragma once

#include <QString>
#include <QStringList>

class CMainFrame;

namespace qv {

void RunCopySelectedNames(CMainFrame& frame);
void RunCopyAllNames(CMainFrame& frame);
void RunCopySelectedRows(CMainFrame& frame);
void RunCopyFullTable(CMainFrame& frame);
void RunCopyAvailableNames(CMainFrame& frame);

// The names as the clipboard gets them: each followed by CR LF, TABs removed.
QString NamesClipboardText(const QStringList& names);

}  // namespace qv
