#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QTest>

#include "engine_fixture.h"
#include "lookup/change_log.h"
#include "lookup/lookup_snapshot.h"
#include "lookup/record_update.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace qv;
using enginetest::FieldsAsIn;

namespace {

constexpr const char* kRegistry = "whois.registry.test";
constexpr const char* kRegistrar = "whois.registrar.test";

// An answer as the worker hands it over: the lines and the source footer.
std::string Answer(std::initializer_list<std::string_view> lines, std::string_view source) {
  std::string text;
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text + "\n[Whois Source: " + std::string(source) + "]";
}

Date At(int y, int mo, int d, int h = 0, int mi = 0) { return Date::FromParts({y, mo, d, h, mi, 0}); }

std::string ShortDate(int y, int m, int d) {
  return QLocale::system().toString(QDate(y, m, d), QLocale::ShortFormat).toStdString();
}

}  // namespace

class RecordUpdateTest : public QObject {
  Q_OBJECT

  DomainDatabase db_;
  SnapshotList snapshots_;
  AlertList alerts_;
  Date now_;
  std::vector<std::string> savedTexts_;
  std::unique_ptr<RecordUpdater> updater_;

  DomainRecord Read(std::string_view name) {
    DomainRecord record;
    if (!db_.ReadRecord(name, record)) qWarning("not stored: %s", std::string(name).c_str());
    return record;
  }

  // A name looked up before: its record as a previous lookup left it.
  void StoreLookedUp(const std::string& name) {
    QCOMPARE(InsertDomainRecord(db_, name), InsertOutcome::Added);
    DomainRecord r = Read(name);
    const std::pair<const char*, Date> dates[] = {
        {field::kLastCheckedAt, At(2024, 1, 1, 8)}, {field::kExpiryDate, At(2025, 5, 6)},
        {field::kRegistrarExpiry, At(2025, 5, 6)}, {field::kCreatedOn, At(1999, 3, 4)},
        {field::kLastUpdate, At(2020, 1, 2)}, {field::kIpCheckedAt, At(2024, 1, 1, 9)}};
    for (const auto& [name, date] : dates) r.SetDate(name, date);
    const std::pair<const char*, const char*> texts[] = {
        {field::kRegistrar, "Old Registrar"}, {field::kStatus, "ACTIVE"}, {field::kId, "OLD-ID"},
        {field::kWhoisServer, kRegistrar}, {field::kWhoisSource, kRegistry}, {field::kIp, "192.0.2.7"},
        {field::kNs1, "ns1.old.test"}, {field::kNs2, "ns2.example.test"}, {field::kNs3, "ns3.old.test"},
        {field::kAdminEmail, "old@example.test"}, {field::kOwner, "Old Owner"}, {field::kAvailability, "TAKEN"},
        {field::kNotes, "keep this note"}, {field::kEdited, "YES"}, {field::kMultiLookup, "yes"}};
    for (const auto& [name, text] : texts) r.SetText(name, text);
    r.SetGroupMember("*BIZDOMAINS", true);
    QVERIFY(db_.WriteRecord(r));
  }

  std::string LogFileText() { return enginetest::FileText(updater_->ChangeLogFile()); }

 private slots:
  void init() {
    qvtest::FreshFolders();
    const MaintenanceResult made = NewDocument(db_, qvtest::TempPath("update.qvl").string());
    QVERIFY2(made.ok, made.message.c_str());
    enginetest::SetFreeToken(kRegistry);
    enginetest::SetFreeToken(kRegistrar);
    snapshots_.Clear();
    alerts_.Clear();
    savedTexts_.clear();
    now_ = At(2024, 3, 1, 12);
    updater_ = std::make_unique<RecordUpdater>(&db_, snapshots_, alerts_);
    updater_->SetClock([this] { return now_; });
    updater_->SetWhoisTextSaver(
        [this](const std::string& name, const std::string& text) { savedTexts_.push_back(name + "|" + text); });
  }
  void cleanup() {
    updater_.reset();
    db_.SetPath({});
  }

  // A fresh lookup writes nothing and keeps the old record as the snapshot;
  // its first answer starts from an empty record but keeps the address, the
  // notes and the groups.
  void prepareKeepsRecordUntilTheAnswer() {
    StoreLookedUp("example.test");
    const DomainRecord before = Read("example.test");
    QVERIFY(updater_->PrepareFullLookup("EXAMPLE.test"));
    QVERIFY(Read("example.test").values() == before.values());
    const DomainRecord* kept = snapshots_.Find("Example.Test");
    QVERIFY(kept);
    QVERIFY(kept->values() == before.values());
    QCOMPARE(snapshots_.size(), std::size_t(1));

    QVERIFY(updater_->ApplyWhoisAnswer("example.test", Answer({"Domain ID: NEW-ID"}, kRegistry)));
    const DomainRecord after = Read("example.test");
    const QStringList expected = {
        "Expiry Date=", "Registrar Expiry=", "Created On=", "Last Update=", "Registrar=", "Whois Server=",
        "NS1=", "NS2=", "NS3=", "Admin Email=", "Owner=", "ID=NEW-ID", "IP=192.0.2.7",
        "IP Checked At=2024-01-01 09:00:00", "Notes=keep this note", "MultiLookup=no", "Edited=NO"};
    QCOMPARE(FieldsAsIn(after, expected), expected);
    QVERIFY(after.IsGroupMember("*BIZDOMAINS"));

    QVERIFY(!updater_->PrepareFullLookup("missing.test"));
  }

  // A lookup that fails, with no answer or with a text in place of one,
  // leaves the record as it was, logs nothing and keeps the snapshot; the
  // answer of the retry that follows still starts from an empty record.
  void failedLookupKeepsTheRecord_data() {
    QTest::addColumn<QString>("failure");  // empty: no answer at all
    QTest::newRow("no answer") << QString();
    QTest::newRow("refused")
        << QString::fromStdString(Answer({"Whois Lookup Error: Whois server refused connection."}, kRegistry));
    QTest::newRow("server disabled")
        << "Unable to obtain response from the whois server for this domain.\n\nLookups using this "
           "whois server has been temporarily disabled.";
    QTest::newRow("not reachable") << QString::fromStdString(Answer({kNotReachableText}, kRegistrar));
  }
  void failedLookupKeepsTheRecord() {
    QFETCH(QString, failure);
    StoreLookedUp("example.test");
    const DomainRecord before = Read("example.test");
    QVERIFY(updater_->PrepareFullLookup("example.test"));
    if (failure.isEmpty())
      updater_->ApplyWhoisFailure("example.test");
    else
      QVERIFY(updater_->ApplyWhoisAnswer("example.test", failure.toStdString()));
    QVERIFY(Read("example.test").values() == before.values());
    QCOMPARE(savedTexts_.size(), std::size_t(failure.isEmpty() ? 0 : 1));
    QVERIFY(alerts_.empty() && snapshots_.Find("example.test"));

    QVERIFY(updater_->ApplyWhoisAnswer("example.test", Answer({"Registrar: New Registrar"}, kRegistry)));
    const DomainRecord after = Read("example.test");
    QCOMPARE(after.Text(field::kRegistrar), std::string("New Registrar"));
    QVERIFY(after.DateValue(field::kExpiryDate).IsNull());
  }

  // One answer without referral: which field each value lands in.
  void singleAnswer_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("expected");  // "Field=value"; dates as ISO text

    const QString thick = QString::fromStdString(Answer(
        {"Domain Name: %1", "Domain ID: D123", "Registrar: Example Registrar", "Creation Date: 1999-03-04",
         "Updated Date: 2020-01-02", "Expiration Date: 2030-05-06", "Status: ok", "Admin Email: admin@example.test",
         "Tech Email: tech@example.test", "Name Server: ns1.example.test", "Name Server: ns2.example.test",
         "Name Server: ns3.example.test", "Name Server: ns4.example.test", "Name Server: ns5.example.test"},
        kRegistry));
    const QStringList thickFields = {
        "Registrar=Example Registrar", "ID=D123", "Status=OK", "Availability=TAKEN",
        "Whois Source=whois.registry.test", "Whois Server=", "MultiLookup=no", "Created On=1999-03-04 00:00:00",
        "Last Update=2020-01-02 00:00:00", "Expiry Date=2030-05-06 00:00:00", "Admin Email=admin@example.test",
        "Tech Email=tech@example.test", "NS1=ns1.example.test", "NS2=ns2.example.test", "NS3=ns3.example.test",
        "NS4=ns4.example.test", "Last Checked At=2024-03-01 12:00:00"};
    QTest::newRow("com: both expiry dates") << "example.com" << thick.arg("example.com")
                                            << (thickFields + QStringList{"Registrar Expiry=2030-05-06 00:00:00"});
    QTest::newRow("info: registry expiry only") << "example.info" << thick.arg("example.info")
                                                << (thickFields + QStringList{"Registrar Expiry="});
    QTest::newRow("INFO in capitals") << "Example.INFO" << thick.arg("example.info")
                                      << QStringList{"Expiry Date=2030-05-06 00:00:00", "Registrar Expiry="};
    QTest::newRow("info.example.com is not info")
        << "info.example.com" << thick.arg("info.example.com")
        << QStringList{"Expiry Date=2030-05-06 00:00:00", "Registrar Expiry=2030-05-06 00:00:00"};

    const auto row = [](const char* tag, const char* name, std::initializer_list<std::string_view> lines,
                        const QStringList& expected) {
      QTest::newRow(tag) << name << QString::fromStdString(Answer(lines, kRegistry)) << expected;
    };
    row("no status: the verdict stands in", "plain.test",
        {"Domain Name: plain.test", "Registrar: R", "Expiration Date: 2031-01-01"},
        {"Status=TAKEN", "Availability=TAKEN", "Registrar=R", "Expiry Date=2031-01-01 00:00:00"});
    row("free: no dates, contacts or servers", "free.test",
        {"No match for \"FREE.TEST\".", "Expiration Date: 2031-01-01", "Name Server: ns1.example.test",
         "Admin Email: admin@example.test"},
        {"Status=FREE", "Availability=FREE", "Expiry Date=", "Registrar Expiry=", "NS1=", "Admin Email=",
         "Last Checked At=2024-03-01 12:00:00"});
    row("registered, with a not-found notice", "note.test",
        {"Domain Name: note.test", "Registrar: R", "Creation Date: 2001-02-03", "Name Server: ns1.example.test",
         "Domain not found in reserved names list."},
        {"Availability=TAKEN", "Created On=2001-02-03 00:00:00", "NS1=ns1.example.test"});
    row("referral names the answering server itself", "self.test",
        {"Whois Server: WHOIS.Registry.test", "Expiration Date: 2031-01-01"},
        {"Whois Server=WHOIS.Registry.test", "MultiLookup=no", "Expiry Date=2031-01-01 00:00:00",
         "Registrar Expiry=2031-01-01 00:00:00"});
    row("referral to another server", "thin.test",
        {"Whois Server: whois.registrar.test", "Registrar: R", "Expiration Date: 2031-01-01"},
        {"Whois Server=whois.registrar.test", "MultiLookup=yes", "Expiry Date=2031-01-01 00:00:00",
         "Registrar Expiry="});
  }
  void singleAnswer() {
    QFETCH(QString, name);
    QFETCH(QString, answer);
    QFETCH(QStringList, expected);
    QCOMPARE(InsertDomainRecord(db_, name.toStdString()), InsertOutcome::Added);
    QVERIFY(updater_->PrepareFullLookup(name.toStdString()));
    updater_->SetLookupInProgress(name.toStdString(), true);

    AnswerOutcome outcome;
    QVERIFY(updater_->ApplyWhoisAnswer(name.toStdString(), answer.toStdString(), &outcome));
    QVERIFY(!snapshots_.InProgress(name.toStdString()));
    QVERIFY(outcome.stored && outcome.parsed);
    QCOMPARE(outcome.source, std::string(kRegistry));
    const DomainRecord r = Read(name.toStdString());
    QCOMPARE(FieldsAsIn(r, expected), expected);
    QCOMPARE(savedTexts_.size(), std::size_t(1));
    QCOMPARE(savedTexts_[0], name.toStdString() + "|" + answer.toStdString());
    QCOMPARE(outcome.FollowUpDue(), r.Text(field::kMultiLookup) == "yes");
  }

  // The registry refers to the registrar; the registrar's answer completes
  // the record, and the log compares it with the record from before the
  // first answer.
  void referralThenAuthoritativeAnswer_data() {
    QTest::addColumn<QString>("registrarServerLine");
    QTest::newRow("registrar names no server") << "";
    QTest::newRow("registrar names itself") << "Whois Server: whois.registrar.test";
  }
  void referralThenAuthoritativeAnswer() {
    QFETCH(QString, registrarServerLine);
    StoreLookedUp("example.test");
    QVERIFY(updater_->PrepareFullLookup("example.test"));

    AnswerOutcome first;
    const std::string registry = Answer(
        {"Domain Name: EXAMPLE.TEST", "Whois Server: whois.registrar.test",
         "Registrar: Registry's Idea Of The Registrar", "Creation Date: 1999-03-04", "Updated Date: 2020-01-02",
         "Expiration Date: 2030-05-06", "Status: active", "Name Server: ns1.example.test",
         "Name Server: ns2.example.test"}, kRegistry);
    QVERIFY(updater_->ApplyWhoisAnswer("example.test", registry, &first));
    QVERIFY(first.FollowUpDue());
    QCOMPARE(first.whoisServer, std::string(kRegistrar));
    QVERIFY(!first.logged);
    QVERIFY(alerts_.empty());
    QVERIFY(snapshots_.Find("example.test"));
    const QStringList afterRegistry = {"MultiLookup=yes", "Expiry Date=2030-05-06 00:00:00", "Registrar Expiry="};
    QCOMPARE(FieldsAsIn(Read("example.test"), afterRegistry), afterRegistry);

    now_ = At(2024, 3, 1, 12, 5);
    std::string second = Answer({"Domain Name: example.test", "Registrar: Example Registrar, LLC",
                                 "Expiration Date: 2030-05-07", "Status: clientTransferProhibited",
                                 "Admin Email: admin@example.test"}, kRegistrar);
    if (!registrarServerLine.isEmpty()) second = registrarServerLine.toStdString() + "\r\n" + second;
    AnswerOutcome outcome;
    QVERIFY(updater_->ApplyWhoisAnswer("example.test", second, &outcome));
    QVERIFY(!outcome.FollowUpDue());
    QVERIFY(outcome.logged);

    // The registry's status stays; the second answer names no servers.
    const QStringList merged = {
        "Registrar=Example Registrar, LLC", "Status=ACTIVE", "Whois Server=whois.registrar.test",
        "Whois Source=whois.registrar.test", "Expiry Date=2030-05-06 00:00:00",
        "Registrar Expiry=2030-05-07 00:00:00", "NS1=ns1.example.test", "Last Checked At=2024-03-01 12:05:00"};
    QCOMPARE(FieldsAsIn(Read("example.test"), merged), merged);

    const std::string expected =
        "Domain: example.test, Lookup: " +
        QLocale::system().toString(QDateTime(QDate(2024, 3, 1), QTime(12, 5)), QLocale::ShortFormat)
            .toStdString() +
        "\r\n"
        "Registry Expiry Date Different (Old:" + ShortDate(2025, 5, 6) + ", New:" + ShortDate(2030, 5, 6) +
        ")\r\n"
        "Registrar Expiry Date Different (Old:" + ShortDate(2025, 5, 6) + " New:" + ShortDate(2030, 5, 7) +
        ")\r\n"
        "Admin Contact Different (Old:old@example.test New:admin@example.test)\r\n"
        "NS1 Different (Old:ns1.old.test New:ns1.example.test)\r\n"
        "\r\n";
    QCOMPARE(alerts_.size(), std::size_t(1));
    QCOMPARE(alerts_.Items()[0].text, expected);
    QCOMPARE(alerts_.Items()[0].added, now_);
    QCOMPARE(LogFileText(), expected);
    QVERIFY(!snapshots_.Find("example.test"));
  }

  // Two lookups that agree on the watched fields log nothing, whatever else
  // changed; and a name's first lookup never logs.
  void nothingToLog_data() {
    QTest::addColumn<bool>("lookedUpBefore");
    QTest::addColumn<QString>("answer");
    const std::string same = Answer(
        {"Registrar: Another Registrar", "Creation Date: 1999-03-04", "Updated Date: 2020-01-02",
         "Expiration Date: 2025-05-06", "Status: active", "Admin Email: old@example.test",
         "Tech Email: new-tech@example.test", "Name Server: ns1.old.test", "Name Server: ns2.example.test",
         "Name Server: ns3.new.test"},
        kRegistry);
    QTest::addColumn<bool>("compared");  // the answer was the last one: the snapshot goes
    QTest::newRow("only unwatched fields differ") << true << QString::fromStdString(same) << true;
    QTest::newRow("first lookup")
        << false << QString::fromStdString(Answer({"Registrar: R", "Expiration Date: 2030-01-01"}, kRegistry)) << true;
    // Answers that report a failure say nothing about the registration.
    QTest::newRow("no server known")
        << true
        << "Whois Lookup Error: I don't know the whois server for this domain.\n\nPlease use the "
           "'Edit > Data Extraction Setup > Domain Lookup' menu\noption to specify a whois server."
        << false;
    QTest::newRow("minimum lookup")
        << true
        << "The domain name resolves to an IP Address (192.0.2.1).\n\nIn most cases, this means that the "
           "domain is not available.\n\n[Whois Source: None]"
        << false;
  }
  void nothingToLog() {
    QFETCH(bool, lookedUpBefore);
    QFETCH(QString, answer);
    QFETCH(bool, compared);
    if (lookedUpBefore)
      StoreLookedUp("example.test");
    else
      QCOMPARE(InsertDomainRecord(db_, "example.test"), InsertOutcome::Added);
    QVERIFY(updater_->PrepareFullLookup("example.test"));
    AnswerOutcome outcome;
    QVERIFY(updater_->ApplyWhoisAnswer("example.test", answer.toStdString(), &outcome));
    QVERIFY(!outcome.logged);
    QVERIFY(alerts_.empty());
    QVERIFY(!QFile::exists(QString::fromStdString(updater_->ChangeLogFile().string())));
    QCOMPARE(snapshots_.Find("example.test") == nullptr, compared);
  }

  // A failed lookup logs only when it was the follow-up of a referral, and
  // keeps the snapshot for the retry.
  void failure_data() {
    QTest::addColumn<bool>("afterReferral");
    QTest::addColumn<bool>("logged");
    QTest::newRow("follow-up failed") << true << true;
    QTest::newRow("first lookup failed") << false << false;
  }
  void failure() {
    QFETCH(bool, afterReferral);
    QFETCH(bool, logged);
    StoreLookedUp("example.test");
    QVERIFY(updater_->PrepareFullLookup("example.test"));
    if (afterReferral)
      QVERIFY(updater_->ApplyWhoisAnswer(
          "example.test", Answer({"Whois Server: whois.registrar.test", "Expiration Date: 2030-05-06",
                                  "Creation Date: 1999-03-04", "Updated Date: 2020-01-02", "Status: active",
                                  "Name Server: ns1.old.test", "Name Server: ns2.example.test"}, kRegistry)));
    updater_->SetLookupInProgress("example.test", true);
    updater_->ApplyWhoisFailure("example.test");
    QVERIFY(!snapshots_.InProgress("example.test"));
    QVERIFY(snapshots_.Find("example.test"));
    QCOMPARE(alerts_.size(), std::size_t(logged ? 1 : 0));
    if (logged) {
      // The registrar's expiry and the admin contact were to come from the
      // failed follow-up; the registry brought a new expiry; the rest agrees.
      const std::string& entry = alerts_.Items()[0].text;
      for (const char* line : {"Registry Expiry Date Different", "Registrar Expiry Date Different",
                               "Admin Contact Different (Old:old@example.test New:)"})
        QVERIFY2(entry.find(line) != std::string::npos, line);
      for (const char* line : {"NS1 Different", "Status Different"})
        QVERIFY2(entry.find(line) == std::string::npos, line);
      QCOMPARE(LogFileText(), entry);
    }
  }

  // The pending alerts go out at once when the oldest has waited ten minutes
  // (the limit itself: ChangeLogTest::alertsOverdue).
  void overdueAlertsAreSent() {
    int sends = 0;
    updater_->SetAlertSender([&sends] { ++sends; });
    alerts_.Add("an older entry", At(2024, 3, 1, 12));
    now_ = At(2024, 3, 1, 12, 10);
    StoreLookedUp("example.test");
    QVERIFY(updater_->PrepareFullLookup("example.test"));
    QVERIFY(updater_->ApplyWhoisAnswer("example.test", Answer({"Expiration Date: 2040-01-01"}, kRegistry)));
    QCOMPARE(alerts_.size(), std::size_t(2));
    QCOMPARE(sends, 1);
  }

  void answerForNameNotStored() {
    AnswerOutcome outcome;
    QVERIFY(!updater_->ApplyWhoisAnswer("missing.test", Answer({"Registrar: R"}, kRegistry), &outcome));
    QVERIFY(!outcome.stored);
    QVERIFY(savedTexts_.empty());
    updater_->ApplyWhoisFailure("missing.test");
    QVERIFY(alerts_.empty());
  }

  void lock() {
    QCOMPARE(InsertDomainRecord(db_, "example.test"), InsertOutcome::Added);
    std::vector<std::string> redrawn;
    updater_->SetRowChanged([&redrawn](const std::string& name) { redrawn.push_back(name); });
    QVERIFY(updater_->SetLock("Example.test", true));
    QVERIFY(Read("example.test").Locked());
    QVERIFY(updater_->SetLock("example.test", false));
    QVERIFY(!Read("example.test").Locked());
    QCOMPARE(redrawn.size(), std::size_t(2));
    QVERIFY(!updater_->SetLock("missing.test", true));
  }

  void manualDateEdit_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");  // the field that changes; empty when refused
    QTest::newRow("expiry") << "example.test" << "Expiry Date" << "Expiry Date";
    QTest::newRow("older name") << "example.test" << "registry expiry" << "Expiry Date";
    QTest::newRow("created") << "EXAMPLE.TEST" << "Created On" << "Created On";
    QTest::newRow("not a date field") << "example.test" << "Registrar" << "";
    QTest::newRow("no such field") << "example.test" << "Renewal" << "";
    QTest::newRow("name not stored") << "missing.test" << "Expiry Date" << "";
  }
  void manualDateEdit() {
    QFETCH(QString, name);
    QFETCH(QString, field);
    QFETCH(QString, stored);
    QCOMPARE(InsertDomainRecord(db_, "example.test"), InsertOutcome::Added);
    const bool ok = ApplyManualDateEdit(db_, name.toStdString(), field.toStdString(), At(2033, 7, 8));
    QCOMPARE(ok, !stored.isEmpty());
    const DomainRecord r = Read("example.test");
    QCOMPARE(r.Locked(), !stored.isEmpty());
    QCOMPARE(r.Text(field::kEdited), std::string(stored.isEmpty() ? "" : "YES"));
    if (!stored.isEmpty()) QCOMPARE(r.DateValue(stored.toStdString()), At(2033, 7, 8));
  }
};

QV_TEST(RecordUpdateTest)
#include "test_record_update.moc"
