// Registrar management links: the registrar key, the stored settings with
// the enciphered password, the values filled into addresses and forms, and
// the temporary login page handed to the browser.
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/dialogs/domain_management_dialog.h"
#include "app/login_form_files.h"
#include "app/open_url.h"
#include "platform/settings_store.h"
#include "support/test_registry.h"
#include "test_file_support.h"
#include "test_main_frame_support.h"
#include "webcheck/registrar_links.h"

using namespace qv;

class RegistrarLinksTest : public qvtest::WindowTest {
  Q_OBJECT

  QList<QUrl> opened_;

 private slots:
  void init() {
    Fresh();
    opened_.clear();
    SetUrlOpenerForTests([this](const QUrl& url) {
      opened_ << url;
      return true;
    });
  }
  void cleanup() {
    SetUrlOpenerForTests({});
    SetLoginFormLifetimeForTests(kLoginFormLifetimeMs);
  }

  void registrarKey_data() {
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("registrar");
    QTest::addColumn<QString>("key");
    QTest::newRow("ws without registrar") << true << "alpha.ws" << "" << "ws [Default]";
    QTest::newRow("text after the first dot") << true << "alpha.co.uk" << "" << "co.uk [Default]";
    QTest::newRow("no dot") << true << "localhost" << "" << "Domain Manager";
    QTest::newRow("registrar") << true << "alpha.com" << "Tucows, Inc" << "Tucows, Inc";
    QTest::newRow("registrar with alias") << true << "alpha.com" << "TUCOWS DOMAINS INC." << "Tucows";
    QTest::newRow("no document") << false << "alpha.com" << "Tucows, Inc" << "Domain Manager";
  }
  void registrarKey() {
    QFETCH(bool, open);
    QFETCH(QString, domain);
    QFETCH(QString, registrar);
    QFETCH(QString, key);
    const auto alias = [](std::string_view r) -> std::string { return r == "TUCOWS DOMAINS INC." ? "Tucows" : ""; };
    QCOMPARE(QString::fromStdString(RegistrarKey(open, domain.toStdString(), registrar.toStdString(), alias)), key);
  }

  void passwordRoundTrip_data() {
    QTest::addColumn<QString>("password");
    QTest::newRow("plain") << "secret";
    QTest::newRow("trailing tilde") << "pass~";
    QTest::newRow("only tildes") << "~~~";
    QTest::newRow("longer than the fill") << QString(40, QLatin1Char('x')) + "~";
    QTest::newRow("not ascii") << QString::fromUtf8("p\xc3\xa4ss w\xc3\xb6rd");
    QTest::newRow("empty") << "";
  }
  void passwordRoundTrip() {
    QFETCH(QString, password);
    const std::string stored = EncipherPassword(password.toStdString());
    QVERIFY(password.isEmpty() || stored.find(password.toStdString()) == std::string::npos);
    QCOMPARE(QString::fromStdString(DecipherPassword(stored)), password);
    RegistrarSettings s;
    s.password = password.toStdString();
    SaveRegistrarSettings("Some Registrar", s);
    QCOMPARE(QString::fromStdString(LoadRegistrarSettings("Some Registrar").password), password);
  }

  // A registrar's name with the store's path characters is one section of
  // its own, apart from its prefix.
  void registrarNamesAreFlatSections() {
    RegistrarSettings slash, plain;
    slash.manageUrl = "https://a.example/";
    plain.manageUrl = "https://b.example/";
    SaveRegistrarSettings("Foo/Bar\\Baz%2F", slash);
    SaveRegistrarSettings("Foo", plain);
    SaveRegistrarSettings("Foo/Bar\\Baz/", plain);
    QCOMPARE(LoadRegistrarSettings("Foo/Bar\\Baz%2F").manageUrl, slash.manageUrl);
    QCOMPARE(LoadRegistrarSettings("Foo").manageUrl, plain.manageUrl);
    QCOMPARE(LoadRegistrarSettings("Foo/Bar\\Baz/").manageUrl, plain.manageUrl);
    // A registrar named as the program's own settings section stays apart.
    SaveRegistrarSettings("settings", slash);
    QCOMPARE(GetProfileString(kSettingsSection, kManageUrlKey, "none"), std::string("none"));
    QCOMPARE(LoadRegistrarSettings("settings").manageUrl, slash.manageUrl);
  }

  // A built-in row (any capitals) gives way to the user's own.
  void builtInRowsUntilTheUserSetsHisOwn() {
    QVERIFY(LoadRegistrarSettings("WS [default]").usePost);
    RegistrarSettings own;
    own.login = "me";
    SaveRegistrarSettings("ws [Default]", own);
    QCOMPARE(LoadRegistrarSettings("ws [Default]"), own);
    QCOMPARE(LoadRegistrarSettings("Unknown Registrar"), RegistrarSettings{});
  }

  void valuesAreEncoded() {
    RegistrarSettings s;
    s.login = "john doe";
    s.password = "a&b=c#d";
    s.manageUrl = "  https://r.example/manage?u={login}&p={password}&d={domain}  ";
    s.postData = "user={login}\r\npass={password}\r\n\r\n";
    QCOMPARE(ManagementUrl(s, "alpha.com"),
             std::string("https://r.example/manage?u=john%20doe&p=a%26b%3Dc%23d&d=alpha.com"));
    QCOMPARE(ManagementPostBody(s, "alpha.com"), std::string("user=john%20doe&pass=a%26b%3Dc%23d"));
  }

  // "Go  >>" with POST: the browser gets a private page that posts the form
  // with every value escaped, and the page goes once it has been read.
  void loginFormFile() {
    SetLoginFormLifetimeForTests(100);
    CDomainManagementDialog dialog("Test Registrar", "alpha.com", prompts_);
    dialog.UrlEdit()->setText("https://r.example/login?a=1&b=2");
    dialog.LoginEdit()->setText("me\"><script>x</script>");
    dialog.PasswordEdit()->setText("p&w'<");
    dialog.UsePostBox()->setChecked(true);
    QVERIFY(dialog.PostDataEdit()->isEnabled());
    dialog.PostDataEdit()->setPlainText("user={login}\npass={password}\ndomain={domain}");
    QVERIFY(dialog.Go());
    QCOMPARE(opened_.size(), 1);
    const QString path = opened_.front().toLocalFile();
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(QFileInfo(path).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray html = qvtest::FileBytes(path);
    QVERIFY(html.contains("action=\"https://r.example/login?a=1&amp;b=2\""));
    QVERIFY(html.contains("name=\"user\" value=\"me&quot;&gt;&lt;script&gt;x&lt;/script&gt;\""));
    QVERIFY(html.contains("name=\"pass\" value=\"p&amp;w&#39;&lt;\""));
    QVERIFY(html.contains("name=\"domain\" value=\"alpha.com\""));
    QVERIFY(!html.contains("<script>"));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(path), 3000);
  }

  void goWithoutUrlSaysSo() {
    for (bool post : {false, true}) {
      CDomainManagementDialog dialog("Empty Registrar", "alpha.com", prompts_);
      dialog.UsePostBox()->setChecked(post);
      dialog.UrlEdit()->setText("   ");
      QVERIFY(!dialog.Go());
    }
    QCOMPARE(log_->told, QStringList(2, QString::fromLatin1(kNoUrlSpecifiedText)));
    QVERIFY(opened_.isEmpty());
  }

  void closingKeepsTheSettings() {
    {
      CDomainManagementDialog dialog("Kept Registrar", "alpha.com", prompts_);
      dialog.UrlEdit()->setText("https://k.example/{domain}");
      dialog.LoginEdit()->setText("me");
      dialog.PasswordEdit()->setText("pw~");
      dialog.reject();
    }
    CDomainManagementDialog again("Kept Registrar", "alpha.com", prompts_);
    QCOMPARE(again.PasswordEdit()->text(), QStringLiteral("pw~"));
    QCOMPARE(again.PasswordEdit()->echoMode(), QLineEdit::Password);
    QVERIFY(again.Go());
    QCOMPARE(opened_, QList<QUrl>{QUrl(QStringLiteral("https://k.example/alpha.com"))});
  }

  void browserCommandIsAnArgumentList() {
    QCOMPARE(BrowserCommandFor("firefox --new-window %s", "https://a.example/?x=1;rm -rf ~"),
             (QStringList{"firefox", "--new-window", "https://a.example/?x=1;rm -rf ~"}));
    QCOMPARE(BrowserCommandFor("\"/opt/my browser/run\"", "u"), (QStringList{"/opt/my browser/run", "u"}));
  }
};

QV_TEST(RegistrarLinksTest)
#include "test_registrar_links.moc"
