// Opening a web address or a file with the program the system associates
// with it (the user's browser for web pages). When the desktop cannot do it,
// the browser named by the BROWSER environment variable, or a common browser
// found on the path, is started with the address as its own argument: never
// through a shell, so nothing in an address is run as a command.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QWidget;

namespace qv {

struct Prompts;

inline constexpr const char* kNoUrlSpecifiedText = "No URL Specified";
inline constexpr const char* kCannotOpenUrlText = "No program was found to open %1";

// The program and its arguments for a browser command line such as
// "firefox --new-window %s": split without a shell, "%s" replaced by the
// address (appended when the line has none). Empty when the line is empty.
QStringList BrowserCommandFor(const QString& commandLine, const QString& url);

// Opens the address (trimmed); false when nothing could open it.
bool OpenUrl(const QUrl& url);
// The text form: "No URL Specified" for an empty text, a message when
// nothing could open it.
bool OpenUrlText(QWidget* parent, Prompts& prompts, const QString& text);

// Tests see the addresses instead of a browser opening them.
using UrlOpener = std::function<bool(const QUrl& url)>;
void SetUrlOpenerForTests(UrlOpener opener);

}  // namespace qv
