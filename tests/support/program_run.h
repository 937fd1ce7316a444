// Runs the built `quorvel` program the way command-line tests need it: with
// the test's own settings and data folders, never the user's.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include "support/temp_folders.h"

namespace qvtest {

struct ProgramOutcome {
  int exitCode = -1;  // -1: it did not finish normally in time
  QByteArray out;
  QByteArray err;
};

// Points a process at the current temporary settings and data folders, with
// the program's own tick period unless `extra` sets QUORVEL_TICK_MS.
inline void UseTestFolders(QProcess& process, const QProcessEnvironment& extra = {}) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), TempRoot() + QStringLiteral("/config"));
  env.insert(QStringLiteral("XDG_DATA_HOME"), TempRoot() + QStringLiteral("/data"));
  env.remove(QStringLiteral("QUORVEL_TICK_MS"));
  for (const QString& name : extra.keys()) env.insert(name, extra.value(name));
  process.setProcessEnvironment(env);
}

inline QString ProgramPath() { return QStringLiteral(QV_BINARY_DIR "/quorvel"); }

// Runs the program (or `program`, which then gets the program's path among
// its own arguments) and collects what it printed.
inline ProgramOutcome RunProgram(const QStringList& args, int timeoutMs = 120000,
                                 const QProcessEnvironment& extra = {}, const QString& program = {}) {
  QProcess process;
  UseTestFolders(process, extra);
  process.start(program.isEmpty() ? ProgramPath() : program, args);
  ProgramOutcome o;
  if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit) {
    process.kill();
    process.waitForFinished();
    return o;
  }
  o.exitCode = process.exitCode();
  o.out = process.readAllStandardOutput();
  o.err = process.readAllStandardError();
  return o;
}

}  // namespace qvtest
