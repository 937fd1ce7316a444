#include "app/exit_marker.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <fstream>
#include <system_error>

#include "app/program_folder.h"

namespace qv {

std::filesystem::path ExitMarkerFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  const std::string name = ProgramFolderName();
  if (!base.isEmpty() && !name.empty()) {
    std::filesystem::path folder = std::filesystem::path(base.toStdString()) / name;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!ec) return folder;
  }
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

std::filesystem::path ExitMarkerPath() { return ExitMarkerFolder() / kExitMarkerFileName; }

bool TestAndSetExitMarker(const std::filesystem::path& marker) {
  std::error_code ec;
  if (std::filesystem::exists(marker, ec)) return true;
  std::ofstream create(marker, std::ios::binary | std::ios::trunc);
  return false;
}

void RemoveExitMarker(const std::filesystem::path& marker) {
  if (marker.empty()) return;
  std::error_code ec;
  std::filesystem::remove(marker, ec);
}

}  // namespace qv
