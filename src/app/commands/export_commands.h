// Export of the list to files: the rows as comma-separated text, the names of
// available domains, and every stored raw whois answer in one file.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

class CMainFrame;
class QWidget;

namespace qv {

class DomainDatabase;

void RunExportSelectedRows(CMainFrame& frame);
void RunExportFullTable(CMainFrame& frame);
void RunExportAvailableNames(CMainFrame& frame);
void RunExportRawWhois(CMainFrame& frame);

// Writes, under the progress window "Exporting", one block per name:
// "\r\n<record>\r\nDomain: NAME\r\n\r\nANSWER\r\n</record>\r\n\r\n", the
// kept answer with its line ends made CR LF (empty when none is kept).
// False with `error` set when the file cannot be written or the user
// cancelled (the file is then not left half-written).
bool WriteRawWhoisExport(const QStringList& names, const QString& path, QWidget* parent,
                         QString& error);

// The block of one name as the raw whois export writes it (bytes as kept).
std::string RawWhoisRecordText(std::string_view name, std::string_view answer);
// A text with every line end (CR LF, a lone LF, a lone CR) made CR LF.
std::string WithCrLfLineEnds(std::string_view text);

// Writes the table of `names` in `columns` as comma-separated text (see
// table_text.h) under the progress window "Preparing Data". False with
// `error` set on failure or cancel; the file is then left as it was.
bool WriteCsvExport(DomainDatabase& db, const QStringList& names, const QStringList& columns,
                    const QString& path, QWidget* parent, QString& error);
// Writes the names, each followed by CR LF, commas made blanks and TABs commas.
bool WriteNamesFile(const QStringList& names, const QString& path, QString& error);

}  // namespace qv
