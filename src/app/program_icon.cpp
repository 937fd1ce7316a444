#include "app/program_icon.h"

#include <QGuiApplication>
#include <QString>

// Qt registers the resources of a static library only when asked; the call
// must be made from the global namespace.
static void InitProgramIconResource() { Q_INIT_RESOURCE(program_icon); }

namespace qv {

QIcon ProgramIcon() {
  InitProgramIconResource();
  QIcon icon;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/qv/icon/%1.png").arg(size), QSize(size, size));
  return icon;
}

void ShowProgramIdentity() {
  QGuiApplication::setWindowIcon(ProgramIcon());
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopEntryName));
}

}  // namespace qv
