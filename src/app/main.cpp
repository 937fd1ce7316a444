#include <QApplication>
#include <QCoreApplication>
#include <cstring>

#include "app/cli/command.h"
#include "app/exit_marker.h"
#include "app/main_frame.h"
#include "app/program_icon.h"
#include "app/start_up.h"
#include "platform/app_identity.h"

namespace {

bool IsHelp(const char* arg) {
  return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0 ||
         std::strcmp(arg, "help") == 0;
}

int RunCommandLine(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  qv::InitApplicationIdentity();
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  const QString name = args.takeFirst();
  const qv::cli::Command* command = qv::cli::FindCommand(name);
  if (!command) {
    std::fprintf(stderr, "quorvel: unknown subcommand '%s'; see quorvel --help\n",
                 name.toLocal8Bit().constData());
    return qv::cli::kUsageError;
  }
  return command->run(args);
}

int RunWindows(int argc, char** argv) {
  QApplication app(argc, argv);
  qv::InitApplicationIdentity();
  qv::ShowProgramIdentity();
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  const qv::StartUpOptions options = qv::PrepareStartUp(args);
  CMainFrame frame(options);
  if (!frame.StartedUp()) {
    // The document of the command line could not be opened (the user was
    // told why); the program ends, and ends normally.
    qv::RemoveExitMarker(options.exitMarker);
    return 1;
  }
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && IsHelp(argv[1])) {
    qv::cli::PrintHelp();
    return 0;
  }
  if (argc > 1 && argv[1][0] != '-' && qv::cli::FindCommand(QString::fromLocal8Bit(argv[1])))
    return RunCommandLine(argc, argv);
  if (argc > 1 && argv[1][0] != '-' && !std::strchr(argv[1], '.') && !std::strchr(argv[1], '/')) {
    // Looks like a subcommand, not a document path.
    std::fprintf(stderr, "quorvel: unknown subcommand '%s'; see quorvel --help\n", argv[1]);
    return qv::cli::kUsageError;
  }
  return RunWindows(argc, argv);
}
