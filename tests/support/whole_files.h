// Files read and written whole, as bytes, for tests that lay down a file's
// exact content or check that a file was left untouched.
#pragma once

#include <QByteArray>
#include <QFile>
#include <filesystem>

namespace qvtest {

// "<missing>" when the file cannot be read, so a file that is gone never
// compares equal to an empty one.
inline QByteArray ReadFileBytes(const std::filesystem::path& path) {
  QFile file(QString::fromStdString(path.string()));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// False when the file could not be written whole.
inline bool WriteFileBytes(const std::filesystem::path& path, const QByteArray& bytes) {
  QFile file(QString::fromStdString(path.string()));
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

}  // namespace qvtest
