#include "engine_fixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTest>
#include <QThread>
#include <fstream>

#include "store/add_names.h"
#include "store/database_maintenance.h"
#include "support/temp_folders.h"
#include "whois/server_directory.h"
#include "whois/whois_query.h"

namespace enginetest {

bool MakeDocument(qv::DomainDatabase& db, const std::vector<std::string>& names) {
  static int serial = 0;
  const std::string path = qvtest::TempPath(QStringLiteral("doc%1.qvl").arg(++serial)).string();
  if (!qv::NewDocument(db, path).ok) return false;
  const qv::AddNamesReport report = qv::AddDomainNames(db, names);
  return report.error.empty() && report.added == names.size();
}

bool WaitFor(const std::function<bool()>& done, int limitMs) {
  QDeadlineTimer deadline(limitMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

bool RunUntilIdle(qv::LookupEngine& engine, int limitMs) {
  QDeadlineTimer deadline(limitMs);
  do {
    engine.SchedulerTick();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
    if (deadline.hasExpired()) return false;
  } while (!engine.IsIdle());
  return true;
}

qv::DomainRecord Read(qv::DomainDatabase& db, const std::string& name) {
  qv::DomainRecord record;
  db.ReadRecord(name, record);
  return record;
}

QString Field(const qv::DomainRecord& record, const char* field) {
  const qv::FieldValue value = record.Get(field);
  if (const auto* d = std::get_if<qv::Date>(&value)) return QString::fromStdString(d->ToIsoText());
  return QString::fromStdString(record.Text(field));
}

QStringList FieldsAsIn(const qv::DomainRecord& record, const QStringList& expected) {
  QStringList actual;
  for (const QString& pair : expected) {
    const QString name = pair.section('=', 0, 0);
    actual << name + "=" + Field(record, name.toUtf8().constData());
  }
  return actual;
}

std::string FileText(const std::filesystem::path& path) {
  QFile file(QString::fromStdString(path.string()));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

QStringList Entries(const qv::LookupQueue& queue) {
  QStringList out;
  for (std::size_t i = 0; i < queue.Size(); ++i) out << QString::fromStdString(queue.At(i));
  return out;
}

void SetFreeToken(const std::string& host) {
  qv::WhoisServerRecord record(host, false);
  record.tokenWhenFree = "No match for";
  record.manuallyEdited = 1;
}

void EngineTest::cleanup() {
  engine_.reset();
  db_.CloseAll();
}

void EngineTest::init() {
  cleanup();
  qvtest::FreshFolders();
  qv::SetWhoisTimeoutSeconds(2);
}

bool EngineTest::NewEngine(int tickMs, const std::vector<std::string>& names) {
  if (!MakeDocument(db_, names)) return false;
  engine_ = std::make_unique<qv::LookupEngine>(&db_, tickMs);
  engine_->SetHostResolver([](const std::string&) { return std::string("192.0.2.1"); });
  log_ = qvtest::TempPath(QStringLiteral("changes.txt"));
  engine_->Updater().SetChangeLogPath(log_);
  return true;
}

void EngineTest::LookUp(const std::vector<std::string>& names) {
  for (const std::string& name : names) QVERIFY(engine_->QueueWhoisIfDue(name, 0));
  QVERIFY(RunUntilIdle(*engine_));
}

std::string RegisteredAnswer(const std::string& name, const std::string& referral) {
  std::string text = "Domain Name: " + name + "\r\n";
  text += "Registry Domain ID: 2336799_DOMAIN_TEST-VRSN\r\n";
  if (!referral.empty()) text += "Registrar WHOIS Server: " + referral + "\r\n";
  return text +
         "Updated Date: 2023-08-14T07:01:38Z\r\n"
         "Creation Date: 1999-03-04T05:06:07Z\r\n"
         "Registry Expiry Date: 2030-08-13T04:00:00Z\r\n"
         "Registrar: Example Registrar LLC\r\n"
         "Domain Status: clientTransferProhibited https://icann.org/epp#clientTransferProhibited\r\n"
         "Name Server: NS1.EXAMPLE.NET\r\n"
         "Name Server: NS2.EXAMPLE.NET\r\n"
         ">>> Last update of whois database: 2024-01-01T00:00:00Z <<<\r\n";
}

}  // namespace enginetest
