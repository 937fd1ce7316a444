// Test classes register themselves here, so one executable per module can hold
// several Qt Test classes, each in a file of its own:
//
//   class WhoisDateTest : public QObject { Q_OBJECT ... };
//   QV_TEST(WhoisDateTest)
//   #include "test_whois_date.moc"
//
// `tst_<module> --suite WhoisDateTest [qtest options]` runs one class; without
// --suite every registered class runs. Each class starts with fresh, empty
// settings and data folders.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <string>

namespace qvtest {

using TestFactory = std::function<QObject*()>;
std::map<std::string, TestFactory>& Registry();
bool RegisterTest(const char* name, TestFactory factory);

}  // namespace qvtest

#define QV_TEST(Class)                                                       \
  namespace {                                                                \
  [[maybe_unused]] const bool qv_registered_##Class =                        \
      qvtest::RegisterTest(#Class, []() -> QObject* { return new Class; }); \
  }
