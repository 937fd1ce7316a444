#include "platform/data_folder.h"

#include <QStandardPaths>
#include <system_error>

namespace qv {

std::filesystem::path DataFolder() {
  const QString location = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (location.isEmpty()) return {};
  std::filesystem::path folder(location.toStdString());
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return folder;
}

}  // namespace qv
