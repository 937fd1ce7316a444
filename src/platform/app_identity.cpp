#include "platform/app_identity.h"

#include <QCoreApplication>
#include <QSettings>

#include "platform/settings_store.h"

namespace qv {

void InitApplicationIdentity() {
  QCoreApplication::setOrganizationName(kCompanyName);
  QCoreApplication::setApplicationName(kApplicationName);
  QSettings::setDefaultFormat(QSettings::IniFormat);
}

}  // namespace qv
