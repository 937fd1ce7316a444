#include <QProcess>
#include <QTest>

#include "support/program_run.h"
#include "support/test_registry.h"
#include "test_command_support.h"
#include "test_file_support.h"

class NamegenCliTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  void printsNames_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("keywords")
        << QStringList{"names", "keywords", "Go", "--set", "FOOD", "--single", "--no-suffix", "--tld", "com,.co.uk"}
        << 0 << QByteArray("tastyGo.com\ntastyGo.co.uk\n") << QByteArray();
    QTest::newRow("template range") << QStringList{"names", "template", "#x", "--from", "3", "--to", "4"} << 0
                                    << QByteArray("2x.com\n3x.com\n") << QByteArray();
    QTest::newRow("too long names left out")
        << QStringList{"names", "template", QString(62, 'a') + "#", "--to", "2", "--tld", "com,info"} << 0
        << QByteArray(QByteArray(62, 'a') + "0.com\n" + QByteArray(62, 'a') + "1.com\n")
        << QByteArray("2 names were longer than 67 characters and were left out.\n");
    QTest::newRow("template refused") << QStringList{"names", "template", "a??????"} << 1 << QByteArray()
                                      << QByteArray("This template makes 2,176,782,336 words.\nAt most "
                                                    "700,000,000 words can be generated at a time; please "
                                                    "use fewer wildcards.\n");
    QTest::newRow("filter keep") << QStringList{"filter", "@names", "--start", "al,be", "--tld", "org"} << 0
                                 << QByteArray("Alpha.com\nbeta.net\ngamma-x.org\n") << QByteArray();
    QTest::newRow("filter drop") << QStringList{"filter", "@names", "--chars", "-qxy", "--drop"} << 0
                                 << QByteArray("Alpha.com\nbeta.net\n") << QByteArray();
  }
  void printsNames() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    const QString names = qvtest::WorkPath("names.txt");
    QVERIFY(qvtest::WriteBytes(names, "Alpha.com beta.net\r\ngamma-x.org"));
    args.replaceInStrings(QStringLiteral("@names"), names);
    const qvtest::ProgramOutcome o = qvtest::RunProgram(args);
    QCOMPARE(o.exitCode, exitCode);
    QCOMPARE(o.out, out);
    QCOMPARE(o.err, err);
  }

  void usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no generator") << QStringList{"names"};
    QTest::newRow("keywords without set") << QStringList{"names", "keywords", "shop"};
    QTest::newRow("unknown set") << QStringList{"names", "keywords", "shop", "--set", "nope"};
    QTest::newRow("bad number") << QStringList{"names", "template", "#", "--to", "x"};
    QTest::newRow("filter without filter") << QStringList{"filter", "names.txt"};
    QTest::newRow("keep and drop") << QStringList{"filter", "f", "--tld", "com", "--keep", "--drop"};
  }
  void usageErrors() {
    QFETCH(QStringList, args);
    qvtest::VerifyRefused(qvtest::RunProgram(args));
  }

  // The generator's output goes straight into a document.
  void pipeIntoImport() {
    QProcess generate, import;
    qvtest::UseTestFolders(generate);
    qvtest::UseTestFolders(import);
    generate.setStandardOutputProcess(&import);
    generate.start(qvtest::ProgramPath(), {"names", "template", "qv##", "--tld", "com"});
    import.start(qvtest::ProgramPath(), {"import", qvtest::WorkPath("piped.qvl"), "/dev/stdin"});
    QVERIFY(generate.waitForFinished(60000));
    QVERIFY(import.waitForFinished(60000));
    QCOMPARE(import.exitCode(), 0);
    QCOMPARE(import.readAllStandardOutput(), QByteArray("100 names added\n"));
    const qvtest::ProgramOutcome listed = qvtest::RunProgram({"list", qvtest::WorkPath("piped.qvl")});
    QVERIFY(listed.out.startsWith("qv00.com\nqv01.com\n"));
    QVERIFY(listed.out.endsWith("qv99.com\n"));
  }
};

QV_TEST(NamegenCliTest)
#include "test_namegen_cli.moc"
