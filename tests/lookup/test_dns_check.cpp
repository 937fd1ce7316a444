#include <QTest>
#include <condition_variable>
#include <mutex>

#include "lookup/dns_check.h"
#include "lookup/invalid_ip_list.h"
#include "platform/settings_store.h"
#include "support/test_registry.h"

using namespace qv;

namespace {

// A resolver that holds every lookup until it is opened, then answers
// "10.0.0.N" for the host "hN".
class Gate {
 public:
  HostResolver Resolver() {
    return [this](const std::string& host) {
      std::unique_lock<std::mutex> lock(mutex_);
      open_.wait(lock, [this] { return isOpen_; });
      ++finished_;
      return "10.0.0." + host.substr(1);
    };
  }
  void Open() {
    std::lock_guard<std::mutex> lock(mutex_);
    isOpen_ = true;
    open_.notify_all();
  }
  int finished() {
    std::lock_guard<std::mutex> lock(mutex_);
    return finished_;
  }
  // Every thread that was started has answered.
  void Drain(int started) {
    Open();
    QTRY_COMPARE_WITH_TIMEOUT(finished(), started, 20000);
  }

 private:
  std::mutex mutex_;
  std::condition_variable open_;
  bool isOpen_ = false;
  int finished_ = 0;
};

std::string Host(int n) { return "h" + std::to_string(n); }

}  // namespace

class DnsCheckTest : public QObject {
  Q_OBJECT

 private slots:
  void systemResolver_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("address");
    QTest::newRow("hosts file") << "localhost" << "127.0.0.1";
    QTest::newRow("dotted text") << "192.0.2.44" << "192.0.2.44";
    QTest::newRow("no such name") << "no-such-host.invalid" << "Error";
    QTest::newRow("empty") << "" << "Error";
  }
  void systemResolver() {
    QFETCH(QString, host);
    QFETCH(QString, address);
    QCOMPARE(QString::fromStdString(ResolveHostAddress(host.toStdString())), address);
  }

  void resolverThreadLimit() {
    Gate gate;
    DnsCheckList list(gate.Resolver());
    for (int i = 0; i < kResolverThreadLimit; ++i) list.AddDnsCheck(Host(i));
    QCOMPARE(list.RunningCount(), kResolverThreadLimit);
    list.AddDnsCheck(Host(20));  // 20 running: one more starts
    QCOMPARE(list.RunningCount(), kResolverThreadLimit + 1);
    list.AddDnsCheck(Host(21));  // 21 running: it waits
    QCOMPARE(list.RunningCount(), kResolverThreadLimit + 1);
    QVERIFY(!list.At(21).IsStarted());
    QCOMPARE(list.StartPendingChecks(), 0);
    gate.Drain(kResolverThreadLimit + 1);
    QCOMPARE(list.StartPendingChecks(), 1);
    QTRY_VERIFY(list.At(21).IsDone());
  }

  void oneResultPerCollection() {
    Gate gate;
    DnsCheckList list(gate.Resolver());
    for (int i = 1; i <= 3; ++i) list.AddDnsCheck(Host(i));
    QVERIFY(!list.CollectOne());  // none done yet
    gate.Drain(3);
    std::vector<std::string> collected;
    for (int tick = 0; tick < 3; ++tick) {
      const std::optional<DnsResult> result = list.CollectOne();
      QVERIFY(result);
      collected.push_back(result->host + "=" + result->address);
      QCOMPARE(list.Size(), std::size_t(2 - tick));
    }
    QCOMPARE(collected, (std::vector<std::string>{"h1=10.0.0.1", "h2=10.0.0.2", "h3=10.0.0.3"}));
    QVERIFY(!list.CollectOne());
  }

  void sameHostAddedOnceUnlessRunning() {
    Gate gate;
    DnsCheckList list(gate.Resolver());
    list.AddDnsCheck("h1");
    list.AddDnsCheck("H1");  // the first is running: a second check is made
    QCOMPARE(list.Size(), std::size_t(2));
    gate.Drain(2);
    list.AddDnsCheck("h1");  // a done one is there to be collected
    QCOMPARE(list.Size(), std::size_t(2));
  }

  void forgottenChecksStayValidForTheirThreads() {
    Gate gate;
    {
      DnsCheckList list(gate.Resolver());
      for (int i = 0; i < 5; ++i) list.AddDnsCheck(Host(i));
      list.Clear();
      QCOMPARE(list.Size(), std::size_t(0));
    }  // the list is gone while its threads still wait
    gate.Drain(5);
  }

  void invalidAddressList() {
    InvalidIpList list;
    list.SetFromText("1.2.3.4\r\n1.2.3.4;5.6.7.8, \t 9.9.9.9;;");
    QCOMPARE(list.Entries(), (std::vector<std::string>{"1.2.3.4", "5.6.7.8", "9.9.9.9"}));
    QCOMPARE(list.Text(), std::string("1.2.3.4\r\n5.6.7.8\r\n9.9.9.9"));
    list.Save();
    list.SetFromText("1.2.3.4;5.6.7.8");
    list.Save();
    auto stored = [](const char* name) {
      return ReadDirectString(kCompanyName, kWhoisProduct, kInvalidIpSection, name, "-");
    };
    QCOMPARE(ReadDirectInt(kCompanyName, kWhoisProduct, kInvalidIpSection, "Size", 0), 2);
    QCOMPARE(stored("1") + " " + stored("2") + " " + stored("3"), std::string("1.2.3.4 5.6.7.8 -"));
    QCOMPARE(InvalidIpList::Load().Entries(), list.Entries());

    // Settings edited by hand: empty entries and ones beyond the size are skipped.
    WriteDirectInt(kCompanyName, kWhoisProduct, kInvalidIpSection, "Size", 3);
    WriteDirectString(kCompanyName, kWhoisProduct, kInvalidIpSection, "1", "7.7.7.7");
    WriteDirectString(kCompanyName, kWhoisProduct, kInvalidIpSection, "2", "");
    WriteDirectString(kCompanyName, kWhoisProduct, kInvalidIpSection, "3", "8.8.8.8");
    WriteDirectString(kCompanyName, kWhoisProduct, kInvalidIpSection, "4", "beyond size");
    QCOMPARE(InvalidIpList::Load().Entries(), (std::vector<std::string>{"7.7.7.7", "8.8.8.8"}));
  }
};

QV_TEST(DnsCheckTest)
#include "test_dns_check.moc"
