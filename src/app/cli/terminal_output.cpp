#include "app/cli/terminal_output.h"

#include "platform/text.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"

namespace qv::cli {

void PrintForTerminal(std::FILE* out, std::string text) {
  for (std::size_t pos = text.find("\r\n"); pos != std::string::npos; pos = text.find("\r\n", pos))
    text.erase(pos, 1);
  if (text.empty() || text.back() != '\n') text += '\n';
  std::fputs(text.c_str(), out);
}

bool OpenDocumentOrReport(DomainDatabase& db, const QString& path) {
  const MaintenanceResult opened = OpenDocument(db, ToStdString(path));
  if (!opened.ok) PrintError(opened.message);
  return opened.ok;
}

}  // namespace qv::cli
