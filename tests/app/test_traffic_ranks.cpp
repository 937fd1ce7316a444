// Traffic ranks: `quorvel ranks DOC FILE` reading a ranking list into a
// document the test then reads, a cancelled import (nothing stored), and the
// window's "Import Traffic Ranks..." command.
#include <QAction>
#include <QFile>
#include <QTest>

#include "app/command_ids.h"
#include "app/commands/name_file.h"
#include "app/commands/traffic_rank_commands.h"
#include "app/main_frame.h"
#include "app/view/corvane_view.h"
#include "lookup/lookup_engine.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/traffic_ranks.h"
#include "support/program_run.h"
#include "support/test_registry.h"
#include "test_command_support.h"
#include "test_main_frame_support.h"

namespace {

const std::vector<std::string> kNames = {"alpha.com", "Beta.net",   "gamma.org",       "delta.io",
                                         "www.epsilon.de", "m\xC3\xBCnchen.de", "xn--bcher-kva.de"};

// A document with the names; delta.io holds rank 42 from before.
QString MakeDocument() {
  const QString path = qvtest::MakeDocument("ranks.qvl", kNames);
  const bool ranked = qvtest::EditRecord(path, "delta.io", [](qv::DomainRecord& r) { r.SetLong(qv::field::kAlexaRank, 42); });
  return ranked ? path : QString();
}

// "name=rank" for every name ("name=" when it has none), then whether each
// has a check time.
QStringList Ranks(const QString& doc) {
  qv::DomainDatabase db;
  db.SetPath(doc.toStdString());
  QStringList out;
  for (const std::string& name : kNames)
    out << QString::fromStdString(name + "=" + db.GetFieldText(name, qv::field::kAlexaRank) +
                                  (db.GetFieldText(name, qv::field::kSitePopCheckedAt).empty() ? "" : " checked"));
  return out;
}

}  // namespace

class TrafficRanksTest : public qvtest::WindowTest {
  Q_OBJECT

 private slots:
  void init() { Fresh(); }

  void ranksFromList() {
    const QString doc = MakeDocument();
    const QString list = qvtest::WorkFile("list.csv",
        "\xEF\xBB\xBFrank,domain\r\n1,google.com\r\n2,ALPHA.COM\r\n\r\n3,www.beta.net\r\nseven,gamma.org\r\n"
        "4,gamma.org.\r\n5,alpha.com\r\n6,not a name\r\n2147483648,delta.io\r\n7,\"www.epsilon.de\"\r\n"
        // international names listed in the form the document does not hold
        "8,xn--mnchen-3ya.de\r\n9,b\xC3\xBC" "cher.de\r\n10,m\xC3\xBCnchen.de");
    QVERIFY(!doc.isEmpty());
    const qvtest::ProgramOutcome run = qvtest::RunProgram({"ranks", doc, list});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("Names given a traffic rank: 6\n"
                                 "Listed names not in the document: 1\n"
                                 "Names listed more than once (the best rank kept): 2\n"
                                 "Lines skipped (not \"rank,domain\"): 3 (lines 6, 9, 10)\n"));
    QCOMPARE(Ranks(doc), (QStringList{"alpha.com=2 checked", "Beta.net=3 checked", "gamma.org=4 checked",
                                      "delta.io=42", "www.epsilon.de=7 checked", "m\xC3\xBCnchen.de=8 checked",
                                      "xn--bcher-kva.de=9 checked"}));
  }

  // Nothing usable in the file: exit 1 and nothing stored.
  void listWithoutRanks_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("names only") << QByteArray("alpha.com\nbeta.net\n");
    QTest::newRow("empty") << QByteArray();
  }
  void listWithoutRanks() {
    QFETCH(QByteArray, text);
    const QString doc = MakeDocument();
    const qvtest::ProgramOutcome run = qvtest::RunProgram({"ranks", doc, qvtest::WorkFile("list.csv", text)});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(Ranks(doc).join(' '), QString::fromUtf8("alpha.com= Beta.net= gamma.org= delta.io=42 www.epsilon.de= m\xC3\xBCnchen.de= xn--bcher-kva.de="));
  }

  // One transaction: a cancel part way keeps the document as it was.
  void cancelStoresNothing() {
    const QString doc = MakeDocument();
    QByteArray text = "1,alpha.com\n";
    for (int i = 0; i < 20000; ++i) text += QByteArray::number(i + 10) + ",filler" + QByteArray::number(i) + ".com\n";
    QFile file(qvtest::WorkFile("list.csv", text));
    QVERIFY(file.open(QIODevice::ReadOnly));
    qv::DomainDatabase db;
    QVERIFY(qv::OpenDocument(db, doc.toStdString()).ok);
    int calls = 0;
    const qv::TrafficRanksReport report = qv::ImportTrafficRanks(
        db, qv::ChunkReaderOf(file), std::size_t(file.size()), qv::Date::Now(),
        [&calls](std::size_t, std::size_t) { return ++calls < 2; });
    QVERIFY(report.cancelled);
    db.CloseAll();
    QCOMPARE(Ranks(doc).first(), QStringLiteral("alpha.com="));
  }

  // From the window: the list shows the new ranks at once. While lookups
  // run the import is refused, so that a cancel could not undo their results.
  void windowCommand() {
    const QString doc = MakeDocument();
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    QVERIFY(frame.Document().IsOpen());
    log_->openPaths = QStringList{qvtest::WorkFile("list.csv", "9,gamma.org\n")};
    QVERIFY(frame.Engine().QueueDns("alpha.com"));
    frame.Action(qv::kCmdImportTrafficRanks)->trigger();
    QCOMPARE(log_->told.value(0), QString::fromLatin1(qv::kRanksWhileLookingUpText));
    QCOMPARE(log_->openPaths.size(), 1);
    frame.Engine().StopLookups();
    frame.Action(qv::kCmdImportTrafficRanks)->trigger();
    QCOMPARE(log_->told.value(1), QStringLiteral("Names given a traffic rank: 1\r\nListed names not in the document: 0"));
    CCorvaneView* view = frame.View();
    view->SetDisplayMode(qv::kCmdModeWebVisibility);
    QStringList shown;
    for (int row = 0; row < int(kNames.size()); ++row)
      shown << view->GetCellText("Domain", row) + "=" + view->GetCellText("Alexa Rank", row);
    QVERIFY2(shown.contains(QStringLiteral("gamma.org=9")), qPrintable(shown.join(' ')));
    QVERIFY2(shown.contains(QStringLiteral("alpha.com=-")), qPrintable(shown.join(' ')));
  }
};

QV_TEST(TrafficRanksTest)
#include "test_traffic_ranks.moc"
