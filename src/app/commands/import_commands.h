// Adding names to the document from the window: the "Create Domain Names"
// dialog and the import of a large text file, both under the progress window
// "Adding Domain Names".
#pragma once

#include <QString>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "store/add_names.h"

class CMainFrame;
class QWidget;

namespace qv {

// Menu entry points.
void RunCreateSimpleDomainNames(CMainFrame& frame);
void RunImportFromLargeTextFile(CMainFrame& frame);

// Title of the progress window while names are added.
inline constexpr const char* kAddingNamesTitle = "Adding Domain Names";
// The window commits and redraws its progress this often, so that Cancel
// answers quickly.
inline constexpr std::chrono::milliseconds kWindowCommitInterval{250};

// Adds names (a list, or a text split at CR, LF, blank, ";" and TAB) under the
// progress window; Cancel stops between batches and keeps what was added.
// The shown list is run again afterwards.
AddNamesReport AddNamesWithProgress(DomainDatabase& db, const std::vector<std::string>& names,
                                    QWidget* parent,
                                    std::chrono::milliseconds commitInterval = kWindowCommitInterval);
AddNamesReport AddNamesTextWithProgress(DomainDatabase& db, std::string_view text, QWidget* parent,
                                        std::chrono::milliseconds commitInterval = kWindowCommitInterval);

// Reads a text file piece by piece and adds its names. False, with `error`
// set, when nothing may be added: the file cannot be read, the document is
// read-only or damaged, or the file is the document itself. A read failure
// part way stops adding and is the report's error.
bool ImportNamesFromFile(DomainDatabase& db, const QString& path, QWidget* parent,
                         AddNamesReport& report, QString& error,
                         std::chrono::milliseconds commitInterval = kWindowCommitInterval);

// The lines that tell the user what an adding run did.
QString AddNamesReportText(const AddNamesReport& report);

}  // namespace qv
