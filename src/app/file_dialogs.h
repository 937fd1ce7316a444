// The program's file dialogs. They never open a file to find its type: the
// open document is among the files they list, and closing any other
// descriptor of that file would drop the locks SQLite holds on it, letting
// another process delete the document's write-ahead log under us. Types and
// icons come from file names alone.
#pragma once

#include <QFileDialog>
#include <QString>
#include <memory>

namespace qv {

// A Qt file dialog (never the platform's own, which may read files) that
// names types by extension only. `defaultSuffix` is added to a name typed
// without one before the dialog asks about replacing an existing file.
std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, const QString& title, const QString& filter,
                                            QFileDialog::FileMode mode, QFileDialog::AcceptMode accept,
                                            const QString& defaultSuffix = {});

// The modal forms; "" when cancelled.
QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter);
QString ChooseFileToSave(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultSuffix = {});
QString ChooseFolder(QWidget* parent, const QString& title, const QString& start);

}  // namespace qv
