// The questions and messages the window's commands put to the user, gathered
// in one place so that tests can answer them. The defaults are the ordinary
// modal dialogs.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace qv {

// What the user chose in the "No Database Specified" dialog.
enum class NoDatabaseChoice { Cancel, CreateNew, OpenExisting };

struct Prompts {
  // A file to read; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& title, const QString& filter)> openFile;
  // A file to write; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& title, const QString& filter)> saveFile;
  // A question; the button pressed.
  std::function<QMessageBox::StandardButton(QWidget* parent, const QString& text,
                                            QMessageBox::StandardButtons buttons)>
      ask;
  // A message with an OK button.
  std::function<void(QWidget* parent, const QString& text)> tell;
  // A longer text (a log) in a read-only text window.
  std::function<void(QWidget* parent, const QString& title, const QString& text)> showText;
  // The "No Database Specified" dialog.
  std::function<NoDatabaseChoice(QWidget* parent)> noDatabase;
};

// The ordinary dialogs.
Prompts DefaultPrompts();

// The text and button labels of the "No Database Specified" dialog.
inline constexpr const char* kNoDatabaseTitle = "No Database Specified";
inline constexpr const char* kNoDatabaseText =
    "Before you start adding, importing and / or looking up domain names you need to create or "
    "open a database.";
inline constexpr const char* kCreateNewDatabaseButton = "Create a New Database...";
inline constexpr const char* kOpenExistingDatabaseButton = "Open an Existing Database...";

}  // namespace qv
