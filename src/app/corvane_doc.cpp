#include "app/corvane_doc.h"

#include <QApplication>
#include <QFileInfo>
#include <QThread>

#include "platform/settings_store.h"
#include "platform/text.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_query.h"

CCorvaneDoc::CCorvaneDoc(QObject* parent) : QObject(parent) {
  qv::SetListChangedCallback([this] { emit listChanged(); });
  // Every run of the list query may take a while on a large document.
  qv::SetListBusyCallback([this](bool busy) {
    if (busy) {
      queryProgress_.EndReading();
    } else {
      queryProgress_.End();
      if (qv::ListStillReading()) queryProgress_.BeginReading();
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    if (busy)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  });
  // A long query can be cancelled from a progress window.
  qv::SetListCancelCheck([this] { return queryProgress_.Cancelled(); });
  // The list shows its first page at once and grows while the rest is read.
  qv::SetListPoster([this](std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
  });
  qv::SetListGrewCallback([this] {
    queryProgress_.ShowRowsRead(qv::GetListCount());
    emit listGrew();
  });
  qv::SetListEndedCallback([this](bool ok) {
    queryProgress_.EndReading();
    if (ok)
      emit listCompleted();
    else
      emit listFailed(qv::ToQString(qv::ListErrorText()));
  });
}

CCorvaneDoc::~CCorvaneDoc() {
  qv::SetListPoster({});
  qv::SetListGrewCallback({});
  qv::SetListEndedCallback({});
  qv::SetListChangedCallback({});
  qv::SetListBusyCallback({});
  qv::SetListCancelCheck({});
  // The shown and filter lists outlive the document; they must not keep
  // pointing at its connections.
  qv::ShownList().Clear();
  qv::FilterList().Clear();
  db_.CloseAll();
}

bool CCorvaneDoc::Open(const QString& path, QString* error) {
  const qv::MaintenanceResult result = qv::OpenDocument(db_, qv::ToStdString(path));
  if (!result.ok) {
    if (error) *error = qv::ToQString(result.message);
    return false;
  }
  AfterPathChange();
  return true;
}

bool CCorvaneDoc::CreateNew(const QString& path, QString* error) {
  const qv::MaintenanceResult result = qv::NewDocument(db_, qv::ToStdString(path));
  if (!result.ok) {
    if (error) *error = qv::ToQString(result.message);
    // A failed creation may have closed the connections of the open file;
    // the path is kept, so the next list run opens them again.
    RefreshList();
    return false;
  }
  AfterPathChange();
  return true;
}

void CCorvaneDoc::AfterPathChange() {
  qv::AddRecentFile(db_.Path());
  emit documentChanged();
  RefreshList();
}

void CCorvaneDoc::Close() {
  if (!db_.HasPath()) return;
  db_.SetPath({});
  emit documentChanged();
  RefreshList();
}

bool CCorvaneDoc::IsOpen() const { return db_.HasPath(); }

bool CCorvaneDoc::IsReadOnly() const { return db_.IsReadOnly(); }

QString CCorvaneDoc::Path() const { return qv::ToQString(db_.Path()); }

QString CCorvaneDoc::Title() const {
  if (!db_.HasPath()) return QStringLiteral("Untitled");
  const QString name = QFileInfo(Path()).fileName();
  return db_.IsReadOnly() ? tr("%1 (read only)").arg(name) : name;
}

void CCorvaneDoc::RefreshList() {
  if (!qv::RunListQuery(db_)) emit listFailed(qv::ToQString(qv::ListErrorText()));
}

void CCorvaneDoc::ReadWholeList() {
  if (!qv::ListStillReading()) return;
  const bool window = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
  if (window) QApplication::setOverrideCursor(Qt::WaitCursor);
  // The reading thread hands its rows to this object; only those are served.
  while (qv::ListStillReading()) {
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    if (qv::ListStillReading()) QThread::msleep(2);
  }
  if (window) QApplication::restoreOverrideCursor();
}
