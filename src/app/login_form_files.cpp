#include "app/login_form_files.h"

#include <QCoreApplication>
#include <QSet>
#include <QTimer>

#include "webcheck/login_form.h"

namespace qv {
namespace {

QSet<QString>& Pending() {
  static QSet<QString> pending;
  return pending;
}

void RemoveNow(const QString& path) {
  if (Pending().remove(path)) RemoveLoginFormFile(path.toStdString());
}

}  // namespace

void RemoveLoginFormLater(const QString& path, int lifetimeMs) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) {
    RemoveLoginFormFile(path.toStdString());
    return;
  }
  static const bool atExit = [app] {
    QObject::connect(app, &QCoreApplication::aboutToQuit, [] {
      for (const QString& left : QSet<QString>(Pending())) RemoveNow(left);
    });
    return true;
  }();
  (void)atExit;
  Pending().insert(path);
  QTimer::singleShot(lifetimeMs, app, [path] { RemoveNow(path); });
}

}  // namespace qv
