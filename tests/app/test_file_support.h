// File helpers of the command and command-line tests: paths in the
// temporary work folder, and files written and read whole.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include "support/temp_folders.h"

namespace qvtest {

inline QString WorkPath(const QString& name) { return QString::fromStdString(TempPath(name).string()); }

// False when the file could not be written whole.
inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// "<missing>" when the file cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace qvtest
