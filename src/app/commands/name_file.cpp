#include "app/commands/name_file.h"

#include <QFileInfo>

#include "platform/text.h"
#include "store/database_maintenance.h"

namespace qv {

ReadNamesChunk ChunkReaderOf(QFile& file) {
  return [&file](char* buffer, std::size_t size, std::string& error) -> long long {
    const qint64 n = file.read(buffer, qint64(size));
    if (n < 0) error = ToStdString(file.errorString());
    return n;
  };
}

QString ImportRefusal(const QString& docPath, const QString& namesPath) {
  const QFileInfo doc(docPath);
  if (doc.exists()) {
    // SQLite itself would open such a file read-only and fail at the first
    // write, leaving journal files behind in the folder.
    if (!IsWritableDocumentFile(ToStdString(docPath)))
      return QObject::tr("The document %1 is read-only, so no names were added to it.").arg(docPath);
  }
  // Reading the document as a text file would open it beside SQLite, and
  // closing that descriptor drops SQLite's locks on it.
  if (doc.exists() && IsSameFile(ToStdString(docPath), ToStdString(namesPath)))
    return QObject::tr("%1 is the document itself, not a file of names.").arg(namesPath);
  return {};
}

}  // namespace qv
