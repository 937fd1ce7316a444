// The main of every test executable: runs the registered test classes (or the
// one named by --suite), each with fresh settings and data folders.
#include <QTest>
#include <cstdio>
#include <memory>

#ifdef QV_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include "platform/app_identity.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

int main(int argc, char** argv) {
  QStringList passOn;
  QString suite;
  for (int i = 0; i < argc; ++i) {
    if (QByteArray(argv[i]) == "--suite" && i + 1 < argc) {
      suite = QString::fromLocal8Bit(argv[++i]);
      continue;
    }
    passOn << QString::fromLocal8Bit(argv[i]);
  }
  qvtest::FreshFolders();  // before the application reads any path
  TestApplication app(argc, argv);
  qv::InitApplicationIdentity();

  int failures = 0;
  bool ran = false;
  for (auto& [name, factory] : qvtest::Registry()) {
    if (!suite.isEmpty() && suite != QString::fromStdString(name)) continue;
    ran = true;
    qvtest::FreshFolders();
    std::unique_ptr<QObject> test(factory());
    failures += QTest::qExec(test.get(), passOn);
  }
  if (!ran) {
    std::fprintf(stderr, "no test class named '%s'\n", suite.toLocal8Bit().constData());
    return 1;
  }
  return failures == 0 ? 0 : 1;
}
