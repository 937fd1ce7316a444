#include "app/prompts.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/file_dialogs.h"

namespace qv {
namespace {

QString ProgramTitle() { return QApplication::applicationName(); }

// Every question the commands ask goes ahead with something that cannot be
// undone (deleting, replacing, resetting), so Enter answers No.
QMessageBox::StandardButton AskWithBox(QWidget* parent, const QString& text,
                                       QMessageBox::StandardButtons buttons) {
  const QMessageBox::StandardButton safe = buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::NoButton;
  return QMessageBox::question(parent, ProgramTitle(), text, buttons, safe);
}

void TellWithBox(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, ProgramTitle(), text);
}

void ShowTextWindow(QWidget* parent, const QString& title, const QString& text) {
  QDialog dialog(parent);
  dialog.setWindowTitle(title);
  auto* layout = new QVBoxLayout(&dialog);
  auto* edit = new QPlainTextEdit(&dialog);
  edit->setReadOnly(true);
  edit->setPlainText(text);
  layout->addWidget(edit);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  dialog.resize(560, 380);
  dialog.exec();
}

NoDatabaseChoice AskForDatabase(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QString::fromLatin1(kNoDatabaseTitle));
  auto* layout = new QVBoxLayout(&dialog);
  auto* label = new QLabel(QString::fromLatin1(kNoDatabaseText), &dialog);
  label->setWordWrap(true);
  layout->addWidget(label);
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* create =
      buttons->addButton(QString::fromLatin1(kCreateNewDatabaseButton), QDialogButtonBox::AcceptRole);
  QPushButton* open = buttons->addButton(QString::fromLatin1(kOpenExistingDatabaseButton),
                                         QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  NoDatabaseChoice choice = NoDatabaseChoice::Cancel;
  QObject::connect(create, &QPushButton::clicked, &dialog, [&] {
    choice = NoDatabaseChoice::CreateNew;
    dialog.accept();
  });
  QObject::connect(open, &QPushButton::clicked, &dialog, [&] {
    choice = NoDatabaseChoice::OpenExisting;
    dialog.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  dialog.exec();
  return choice;
}

}  // namespace

Prompts DefaultPrompts() {
  Prompts p;
  p.openFile = &ChooseFileToOpen;
  p.saveFile = [](QWidget* parent, const QString& title, const QString& filter) {
    return ChooseFileToSave(parent, title, filter);
  };
  p.ask = &AskWithBox;
  p.tell = &TellWithBox;
  p.showText = &ShowTextWindow;
  p.noDatabase = &AskForDatabase;
  return p;
}

}  // namespace qv
