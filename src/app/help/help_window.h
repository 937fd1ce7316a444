// The program's help: "Help Topics" shows the help page that ships inside
// the program in a browser window of its own; "About Quorvel" shows the
// version, the licence and where the program's data tables come from.
#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace qv {

// The resource holding the help page.
inline constexpr const char* kHelpPageUrl = "qrc:/help/quorvel-help.html";
// Why the maker's web links and the update check stay disabled.
inline constexpr const char* kNoWebSiteTip =
    "Quorvel has no web site of its own yet; the help ships with the program (Help Topics).";
inline constexpr const char* kNoUpdateCheckTip =
    "There is no update service: updates come with your system's packages or a new build.";

// The About text (HTML): name, version, licence and the data sources.
QString AboutText(const QString& version);

class CHelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit CHelpWindow(QWidget* parent = nullptr);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace qv
