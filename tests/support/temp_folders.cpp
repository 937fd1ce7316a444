#include "support/temp_folders.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "platform/settings_store.h"

namespace qvtest {
namespace {
std::unique_ptr<QTemporaryDir>& Current() {
  static std::unique_ptr<QTemporaryDir> dir;
  return dir;
}
}  // namespace

QString FreshFolders() {
  auto& dir = Current();
  dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quorvel-test-XXXXXX"));
  const QString root = dir->path();
  QDir(root).mkpath(QStringLiteral("config"));
  QDir(root).mkpath(QStringLiteral("data"));
  QDir(root).mkpath(QStringLiteral("work"));
  qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toLocal8Bit());
  qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toLocal8Bit());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, root + QStringLiteral("/config"));
  qv::ResetSettingsCache();
  return root;
}

QString TempRoot() {
  if (!Current()) FreshFolders();
  return Current()->path();
}

std::filesystem::path TempPath(const QString& name) {
  return std::filesystem::path((TempRoot() + QStringLiteral("/work/") + name).toStdString());
}

}  // namespace qvtest
