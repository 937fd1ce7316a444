#include <QTest>

#include "app/dialogs/invalid_ip_dialog.h"
#include "app/dialogs/whois_logging_dialog.h"
#include "lookup/answer_files.h"
#include "lookup/lookup_engine.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

class InvalidIpDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  void showsTheListAndStoresWhatIsTyped() {
    qv::InvalidIpList stored;
    stored.Add("64.94.110.11");
    stored.Add("10.1.1.1");
    stored.Save();
    qv::LookupEngine engine(static_cast<qv::DomainDatabase*>(nullptr), 6000);
    CInvalidIpDialog dialog(engine.InvalidAddresses());
    QCOMPARE(dialog.Text(), QStringLiteral("64.94.110.11\n10.1.1.1"));
    dialog.SetText(QStringLiteral("1.2.3.4\n1.2.3.4;5.6.7.8"));
    engine.SetInvalidAddresses(dialog.List());
    QCOMPARE(engine.InvalidAddresses().Entries(), (std::vector<std::string>{"1.2.3.4", "5.6.7.8"}));
    QCOMPARE(qv::InvalidIpList::Load().Entries(), engine.InvalidAddresses().Entries());
  }

  void loggingDialogWritesBothSettings() {
    CWhoisLoggingDialog dialog;
    const QString custom = qvtest::TempRoot() + QStringLiteral("/answers");
    dialog.SetLoggingEnabled(false);
    dialog.SetFolder(custom);
    dialog.accept();
    QVERIFY(!qv::SaveWhoisDataEnabled());
    QCOMPARE(QString::fromStdString(qv::WhoisDataFolder().string()), custom);
    CWhoisLoggingDialog again;
    QCOMPARE(again.Folder(), custom);
    QVERIFY(!again.LoggingEnabled());
    again.SetFolder(QString());
    again.reject();  // Cancel changes nothing
    QCOMPARE(QString::fromStdString(qv::WhoisDataFolder().string()), custom);
  }
};

QV_TEST(InvalidIpDialogTest)
#include "test_invalid_ip_dialog.moc"
