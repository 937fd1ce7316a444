#include "fuzz_support.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "platform/settings_store.h"

namespace qvfuzz {

const std::string& PrivateFolders() {
  static std::unique_ptr<QTemporaryDir> dir;
  static std::string root;
  if (dir) return root;
  // Shared memory when the machine has it: the settings file is rewritten
  // whenever a server record is first stored.
  const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                   : QDir::tempPath();
  dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/quorvel-fuzz-XXXXXX"));
  const QString path = dir->path();
  QDir(path).mkpath(QStringLiteral("config"));
  QDir(path).mkpath(QStringLiteral("data"));
  qputenv("XDG_CONFIG_HOME", (path + QStringLiteral("/config")).toLocal8Bit());
  qputenv("XDG_DATA_HOME", (path + QStringLiteral("/data")).toLocal8Bit());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path + QStringLiteral("/config"));
  qv::ResetSettingsCache();
  root = path.toStdString();
  return root;
}

std::string_view TakeHead(std::string_view& text, std::size_t maxHead) {
  const std::size_t lf = text.substr(0, maxHead + 1).find('\n');
  if (lf == std::string_view::npos) return {};
  const std::string_view head = text.substr(0, lf);
  text.remove_prefix(lf + 1);
  return head;
}

}  // namespace qvfuzz
