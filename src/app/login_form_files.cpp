#include "app/login_form_files.h"

#include <QCoreApplication>
#include <QSet>
#include <QTimer>

#include "webcheck/login_form.h"

namespace qv {
namespace {

int& Lifetime() {
  static int ms = kLoginFormLifetimeMs;
  return ms;
}

QSet<QString>& Pending() {
  static QSet<QString> pending;
  return pending;
}

void RemoveNow(const QString& path) {
  if (Pending().remove(path)) RemoveLoginFormFile(path.toStdString());
}

}  // namespace

int LoginFormLifetimeMs() { return Lifetime(); }

void SetLoginFormLifetimeForTests(int ms) { Lifetime() = ms; }

void RemoveLoginFormLater(const QString& path, bool now) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || now) {
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
  QTimer::singleShot(Lifetime(), app, [path] { RemoveNow(path); });
}

}  // namespace qv
