// Entry points of the subcommands; each is defined in its own file.
#pragma once

#include <QStringList>

namespace qv::cli {

int RunParseCommand(const QStringList& args);
int RunWhoisCommand(const QStringList& args);
int RunRdapCommand(const QStringList& args);
int RunImportCommand(const QStringList& args);
int RunRanksCommand(const QStringList& args);
int RunListCommand(const QStringList& args);
int RunLookupCommand(const QStringList& args);
int RunNamesCommand(const QStringList& args);
int RunFilterCommand(const QStringList& args);
int RunFetchCommand(const QStringList& args);
int RunAlertTestCommand(const QStringList& args);

}  // namespace qv::cli
