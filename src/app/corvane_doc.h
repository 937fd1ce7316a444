// The one document of a run: the open domain database. Opening another file
// does not make a new document; the path is handed to this one, which closes
// its connections, takes the new path, runs the current list query on it and
// tells the views. There is no "save": every change is written at once.
#pragma once

#include <QObject>
#include <QString>

#include "app/list_query_progress.h"
#include "store/database_connection.h"

class CCorvaneDoc : public QObject {
  Q_OBJECT

 public:
  explicit CCorvaneDoc(QObject* parent = nullptr);
  ~CCorvaneDoc() override;

  // Makes `path` the open document when it is a domain database; otherwise
  // the document stays as it was and `error` (may be null) says why. On
  // success the path goes first in the recent-file list.
  bool Open(const QString& path, QString* error);
  // Creates a new domain database at `path` (replacing a file of that name)
  // with the fields of the user groups, and opens it.
  bool CreateNew(const QString& path, QString* error);
  // Closes the database; the list becomes empty.
  void Close();

  bool IsOpen() const;
  // Opened read-only because this user cannot write the file or its folder.
  bool IsReadOnly() const;
  QString Path() const;
  // The file name of the open document (the text after the last folder
  // separator) with " (read only)" when it is, "Untitled" when none is open.
  QString Title() const;
  qv::DomainDatabase& Database() { return db_; }

  // Runs the current list query again and emits listChanged. A query that
  // fails (also later, while its rows are still being read) leaves the list
  // empty and emits listFailed with the engine's text.
  void RefreshList();
  // Waits until the rows of the list query still being read are in the list
  // (for commands over the whole list).
  void ReadWholeList();

 signals:
  // Another file was opened, a new one created, or the document closed.
  void documentChanged();
  // The shown list was read again (every run of the list query). A long list
  // comes with its first page; the rest follows with listGrew.
  void listChanged();
  // More rows of the list query were read and added at the end of the list.
  void listGrew();
  // The list query's last rows were read: the list is whole.
  void listCompleted();
  // One record was written; its row should be drawn again.
  void recordChanged(QString name);
  // Running the list query failed; the text says why.
  void listFailed(QString errorText);

 private:
  void AfterPathChange();

  qv::DomainDatabase db_;
  qv::ListQueryProgress queryProgress_;
};
