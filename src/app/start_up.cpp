#include "app/start_up.h"

#include <QFileInfo>

#include "app/exit_marker.h"

namespace qv {

QString DocumentFromArguments(const QStringList& arguments) {
  for (const QString& argument : arguments) {
    if (argument.isEmpty() || argument.startsWith(QLatin1Char('-'))) continue;
    // "mydomains" names "mydomains.qvl" when only that exists.
    const QFileInfo typed(argument);
    const QFileInfo withExtension(argument + QStringLiteral(".qvl"));
    if (!typed.exists() && typed.suffix().isEmpty() && withExtension.isFile())
      return withExtension.absoluteFilePath();
    return typed.absoluteFilePath();
  }
  return {};
}

StartUpOptions PrepareStartUp(const QStringList& arguments) {
  StartUpOptions options;
  options.exitMarker = ExitMarkerPath();
  options.previousRunEndedNormally = !TestAndSetExitMarker(options.exitMarker);
  options.commandLineDocument = DocumentFromArguments(arguments);
  return options;
}

}  // namespace qv
