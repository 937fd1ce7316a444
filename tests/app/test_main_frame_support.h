// Helpers of the main-window tests: answers for the window's questions that
// record what was asked, and small documents made on disk.
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app/prompts.h"
#include "app/start_up.h"
#include "platform/text.h"
#include "store/add_names.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_query.h"
#include "support/temp_folders.h"

namespace qvtest {

struct PromptLog {
  QStringList told;       // texts of the messages shown
  QStringList asked;      // texts of the questions
  QStringList textTitles; // titles of the text windows
  QStringList texts;      // their texts
  QStringList openTitles, saveTitles;
  int noDatabaseCount = 0;

  // The answers.
  QMessageBox::StandardButton answer = QMessageBox::Yes;
  QStringList openPaths;  // taken in turn; none left: cancelled
  QStringList savePaths;
  qv::NoDatabaseChoice noDatabaseChoice = qv::NoDatabaseChoice::Cancel;
};

inline qv::Prompts RecordingPrompts(const std::shared_ptr<PromptLog>& log) {
  qv::Prompts p;
  p.openFile = [log](QWidget*, const QString& title, const QString&) {
    log->openTitles << title;
    return log->openPaths.isEmpty() ? QString() : log->openPaths.takeFirst();
  };
  p.saveFile = [log](QWidget*, const QString& title, const QString&) {
    log->saveTitles << title;
    return log->savePaths.isEmpty() ? QString() : log->savePaths.takeFirst();
  };
  p.ask = [log](QWidget*, const QString& text, QMessageBox::StandardButtons) {
    log->asked << text;
    return log->answer;
  };
  p.tell = [log](QWidget*, const QString& text) { log->told << text; };
  p.showText = [log](QWidget*, const QString& title, const QString& text) {
    log->textTitles << title;
    log->texts << text;
  };
  p.noDatabase = [log](QWidget*) {
    ++log->noDatabaseCount;
    return log->noDatabaseChoice;
  };
  return p;
}

// Prompts that record only the texts they were asked to tell.
inline qv::Prompts TellRecorder(QStringList& told) {
  qv::Prompts prompts;
  prompts.tell = [&told](QWidget*, const QString& text) { told << text; };
  return prompts;
}

// Clicks the push button of `dialog` named `name`.
inline void Click(QWidget* dialog, const char* name) {
  auto* button = dialog->findChild<QPushButton*>(QString::fromLatin1(name));
  QVERIFY(button);
  button->click();
}

// Answers the next modal dialog of type T with `act`, then closes it. Until
// it shows (a progress window may run first) the answer waits.
template <typename T, typename F> void AnswerNextDialog(F act, int tries = 500) {
  QTimer::singleShot(tries == 500 ? 0 : 10, [act, tries] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog && tries > 0) return AnswerNextDialog<T>(act, tries - 1);
    QVERIFY(dialog);
    act(*dialog);
    if (dialog->isVisible()) dialog->done(QDialog::Rejected);
  });
}

// Start-up options as the program makes them (the exit marker is tested and
// set), with the questions answered through `log`.
inline qv::StartUpOptions TestOptions(const std::shared_ptr<PromptLog>& log, const QStringList& arguments = {}) {
  qv::StartUpOptions options = qv::PrepareStartUp(arguments);
  options.prompts = RecordingPrompts(log);
  return options;
}

// A new document in the temporary work folder holding `names`; empty when
// it could not be made.
inline QString MakeDocument(const QString& fileName, const std::vector<std::string>& names = {}) {
  const std::string path = TempPath(fileName).string();
  qv::DomainDatabase db;
  if (!qv::NewDocument(db, path).ok) return {};
  if (!names.empty() && qv::AddDomainNames(db, names).added != names.size()) return {};
  db.CloseAll();
  return qv::ToQString(path);
}

// Changes the stored record of `name` in `db`, or in the document at `path`;
// false when it could not be read or written back.
inline bool EditRecord(qv::DomainDatabase& db, const std::string& name,
                       const std::function<void(qv::DomainRecord&)>& change) {
  qv::DomainRecord record;
  if (!db.ReadRecord(name, record)) return false;
  change(record);
  return db.WriteRecord(record);
}
inline bool EditRecord(const QString& path, const std::string& name,
                       const std::function<void(qv::DomainRecord&)>& change) {
  qv::DomainDatabase db;
  db.SetPath(path.toStdString());
  return EditRecord(db, name, change);
}

// As if looked up yesterday, when the name expired on 5 April 2030: a lookup
// that finds another expiry is a change to report.
inline void LookedUpYesterday(qv::DomainRecord& r) {
  r.SetDate(qv::field::kLastCheckedAt, qv::Date::FromDays(qv::Date::Now().days() - 1));
  r.SetDate(qv::field::kExpiryDate, qv::Date::FromYmd(2030, 4, 5));
}

// The base of the window tests: each test starts with fresh folders, no
// list query and a new prompt log, answered through `prompts_`. The shown list is one for the whole
// program and would still point at the connection of a document a test has
// closed: LetGoOfList() in cleanup().
class WindowTest : public QObject {
 protected:
  std::shared_ptr<PromptLog> log_;
  qv::Prompts prompts_;

  void Fresh() {
    FreshFolders();
    qv::SetCurrentListQuery("");
    log_ = std::make_shared<PromptLog>();
    prompts_ = RecordingPrompts(log_);
  }
  static void LetGoOfList() { qv::ShownList().Clear(); }
};

// A main window, not shown, over a new document `fileName` holding `names`;
// null when the document could not be made or opened.
inline std::unique_ptr<CMainFrame> HiddenFrame(const std::shared_ptr<PromptLog>& log, const QString& fileName,
                                                   const std::vector<std::string>& names) {
  const QString path = MakeDocument(fileName, names);
  if (path.isEmpty()) return nullptr;
  qv::StartUpOptions options = TestOptions(log, {path});
  options.showWindow = false;
  auto frame = std::make_unique<CMainFrame>(options);
  return frame->Document().IsOpen() ? std::move(frame) : nullptr;
}

}  // namespace qvtest
