#include "app/open_url.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

#include "app/prompts.h"

namespace qv {
namespace {

UrlOpener& Opener() {
  static UrlOpener opener;
  return opener;
}

bool StartBrowser(const QStringList& command) {
  if (command.isEmpty()) return false;
  const QString program = QStandardPaths::findExecutable(command.front());
  return !program.isEmpty() && QProcess::startDetached(program, command.mid(1));
}

// The browsers of the BROWSER variable (a list split by ":"), then the
// usual ones.
bool StartAnyBrowser(const QString& url) {
  QStringList lines = qEnvironmentVariable("BROWSER").split(QLatin1Char(':'), Qt::SkipEmptyParts);
  lines << QStringLiteral("x-www-browser") << QStringLiteral("firefox") << QStringLiteral("chromium");
  for (const QString& line : lines)
    if (StartBrowser(BrowserCommandFor(line, url))) return true;
  return false;
}

}  // namespace

QStringList BrowserCommandFor(const QString& commandLine, const QString& url) {
  QStringList parts = QProcess::splitCommand(commandLine);
  if (parts.isEmpty()) return {};
  bool placed = false;
  for (int i = 1; i < parts.size(); ++i)
    if (parts[i].contains(QLatin1String("%s"))) {
      parts[i].replace(QLatin1String("%s"), url);
      placed = true;
    }
  if (!placed) parts << url;
  return parts;
}

bool OpenUrl(const QUrl& url) {
  if (Opener()) return Opener()(url);
  return QDesktopServices::openUrl(url) || StartAnyBrowser(url.toString(QUrl::FullyEncoded));
}

bool OpenUrlText(QWidget* parent, Prompts& prompts, const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) {
    prompts.tell(parent, QString::fromLatin1(kNoUrlSpecifiedText));
    return false;
  }
  const QUrl url = QUrl::fromUserInput(trimmed);
  if (OpenUrl(url)) return true;
  prompts.tell(parent, QObject::tr(kCannotOpenUrlText).arg(trimmed));
  return false;
}

void SetUrlOpenerForTests(UrlOpener opener) { Opener() = std::move(opener); }

}  // namespace qv
