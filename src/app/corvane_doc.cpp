#include "app/corvane_doc.h"

#include <QFileInfo>

#include "platform/settings_store.h"
#include "platform/text.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/list_query.h"

CCorvaneDoc::CCorvaneDoc(QObject* parent) : QObject(parent) {
  qv::SetListChangedCallback([this] { emit listChanged(); });
}

CCorvaneDoc::~CCorvaneDoc() {
  qv::SetListChangedCallback({});
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

QString CCorvaneDoc::Path() const { return qv::ToQString(db_.Path()); }

QString CCorvaneDoc::Title() const {
  if (!db_.HasPath()) return QStringLiteral("Untitled");
  return QFileInfo(Path()).fileName();
}

void CCorvaneDoc::RefreshList() {
  if (!qv::RunListQuery(db_)) emit listFailed(qv::ToQString(qv::ListErrorText()));
}
