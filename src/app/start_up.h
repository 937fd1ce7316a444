// Start-up of the windowed program: what happens before the main window is
// built (the unclean-exit marker, the command line) and the options that the
// main window is then built with.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

#include "app/prompts.h"

namespace qv {

struct StartUpOptions {
  // A document named on the command line; empty when none. It wins over the
  // recent-file list.
  QString commandLineDocument;
  // False when the unclean-exit marker was found: the previous run did not
  // end normally, so the last document is not reopened by itself.
  bool previousRunEndedNormally = true;
  // The marker of this run, deleted by a normal shut-down; empty for none.
  std::filesystem::path exitMarker;
  // Show the window at the end of the start-up (tests may keep it hidden).
  bool showWindow = true;
  // The questions and messages of the window; unset: the ordinary dialogs.
  std::optional<Prompts> prompts;
};

// The document path of a command line (arguments after the program name):
// the first argument that is not an option, as an absolute path. Empty when
// there is none.
QString DocumentFromArguments(const QStringList& arguments);

// Tests for the unclean-exit marker and creates it when it was missing, then
// reads the command line: the options for the main window.
StartUpOptions PrepareStartUp(const QStringList& arguments);

}  // namespace qv
