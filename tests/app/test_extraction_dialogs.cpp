// The data-extraction dialogs: the token lists of a server, its date order
// and the expansion of the .uk availability checker's answers.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "app/command_ids.h"
#include "app/dialogs/date_format_dialog.h"
#include "app/dialogs/extra_settings_dialog.h"
#include "app/dialogs/string_tokens_dialog.h"
#include "app/main_frame.h"
#include "app/view/corvane_view.h"
#include "lookup/answer_files.h"
#include "lookup/change_log.h"
#include "platform/settings_store.h"
#include "store/domain_record.h"
#include "support/test_registry.h"
#include "test_main_frame_support.h"
#include "whois/field_extraction.h"
#include "whois/generic_tokens.h"
#include "whois/normalise.h"
#include "whois/server_directory.h"
#include "whois/token_keys.h"

using namespace qv;

namespace {

constexpr const char* kServer = "whois.test.example";
constexpr int kExpiryField = 0;  // index into kTokenKeys
constexpr int kStatusField = 3;
constexpr int kDomainIdField = 7;

std::string KeyOf(int field) { return std::string(kTokenKeys[std::size_t(field)].settingsKey); }
std::string Stored(const char* server, int field) { return ReadServerTokens(server, KeyOf(field)); }

}  // namespace

class ExtractionDialogsTest : public qvtest::WindowTest {
  Q_OBJECT

 private slots:
  void init() { Fresh(); }
  void cleanup() { LetGoOfList(); }

  // The box (emptied by "Clear") is stored joined with bars, its end
  // trimmed; opened again, the dialog shows the server chosen last and its
  // list one token a line. Which list wins when a value is read is the
  // whois field extraction's table.
  void boxStoredJoined_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("trailing blanks and bars") << "Paid till:  \nExpires on | |\n\n" << "Paid till:  |Expires on";
    QTest::newRow("crlf and empty lines") << "Paid till:\r\n\r\nExpires on\r\n" << "Paid till:|Expires on";
    QTest::newRow("line feed mark kept") << "{lf}expire:  \n" << "{lf}expire:";
    QTest::newRow("only blanks and bars") << " | \n  \n|" << "";
  }
  void boxStoredJoined() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    WriteServerTokens(kServer, KeyOf(kExpiryField), "old|list");
    {
      CStringTokensDialog dialog(kServer);
      QCOMPARE(dialog.TokenBox()->toPlainText(), QStringLiteral("old\nlist"));
      qvtest::Click(&dialog, "clear");
      QVERIFY(dialog.TokenBox()->toPlainText().isEmpty());
      dialog.TokenBox()->insertPlainText(typed);
      dialog.accept();
    }
    QCOMPARE(QString::fromStdString(Stored(kServer, kExpiryField)), stored);
    CStringTokensDialog again;
    QCOMPARE(again.Server(), QString::fromLatin1(kServer));
    QCOMPARE(again.TokenBox()->toPlainText(), QString(stored).replace('|', '\n'));
  }

  // "Insert Generic Tokens" puts the field's built-in list in the box, a line
  // feed inside a label written "{lf}". A list longer than the store keeps
  // is refused on OK, and then no edit of the session is stored.
  void insertGenericTokens_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("fits");
    QTest::newRow("status") << kStatusField << true;
    QTest::newRow("expiry") << kExpiryField << false;
  }
  void insertGenericTokens() {
    QFETCH(int, field);
    QFETCH(bool, fits);
    QStringList told;
    CStringTokensDialog dialog(kServer);
    dialog.prompts = qvtest::TellRecorder(told);
    dialog.Select(kServer, kDomainIdField);
    dialog.TokenBox()->setPlainText("ID:");
    dialog.Select(kServer, field);
    qvtest::Click(&dialog, "insertGeneric");
    QStringList generic;
    for (std::string_view token : GenericTokens(KeyOf(field))) generic << QString::fromLatin1(token);
    QCOMPARE(dialog.TokenBox()->toPlainText().replace("{lf}", "\n"), generic.join('\n'));

    dialog.Select(kServer, kDomainIdField);
    dialog.accept();
    QCOMPARE(dialog.result(), fits ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(told.size(), fits ? 0 : 1);
    QCOMPARE(Stored(kServer, kDomainIdField), std::string(fits ? "ID:" : ""));
    if (fits) {
      QVERIFY(Stored(kServer, field).starts_with("{lf}   Status:|{lf}status:|"));
    } else {
      QVERIFY(told.front().contains("at most 254"));
      QVERIFY(Stored(kServer, field).empty());
      QCOMPARE(dialog.Field(), field);  // the list that cannot be stored is shown
    }
  }

  // Edits of several servers and fields are kept until OK; Cancel stores
  // none, an untouched list is not written, and "Date Format..." needs a
  // server.
  void editsKeptUntilOk() {
    for (const bool confirm : {false, true}) {
      QStringList told, opened;
      CStringTokensDialog dialog;
      dialog.prompts = qvtest::TellRecorder(told);
      dialog.openDateFormat = [&opened](const QString& server) { opened << server; };
      qvtest::Click(&dialog, "dateFormat");
      QCOMPARE(told, QStringList{"Please specify a whois server"});
      dialog.Select(kServer, kExpiryField);
      dialog.TokenBox()->setPlainText("Paid till:");
      dialog.Select(kServer, kStatusField);
      dialog.TokenBox()->setPlainText("State:");
      dialog.Select("whois.other.example", kExpiryField);
      dialog.TokenBox()->setPlainText("Valid until:");
      dialog.Select(kServer, kExpiryField);
      QCOMPARE(dialog.TokenBox()->toPlainText(), QStringLiteral("Paid till:"));
      qvtest::Click(&dialog, "dateFormat");
      QCOMPARE(opened, QStringList{kServer});
      QVERIFY(Stored(kServer, kExpiryField).empty());
      confirm ? dialog.accept() : dialog.reject();
    }
    QCOMPARE(Stored(kServer, kExpiryField), std::string("Paid till:"));
    QCOMPARE(Stored(kServer, kStatusField), std::string("State:"));
    QCOMPARE(Stored("whois.other.example", kExpiryField), std::string("Valid until:"));
    QVERIFY(!HasDirectValue(kCompanyName, kWhoisProduct, kServer, KeyOf(kDomainIdField)));
    QCOMPARE(GetProfileString(kSettingsSection, kTokenServerNameKey, ""), std::string(kServer));
  }

  // The order chosen is saved in the server's record; whether the server was
  // set up by hand stays as it was.
  void dateFormatChoice_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("manual");
    QTest::newRow("month first, by hand") << "MM-DD" << "mmdd" << 1;
    QTest::newRow("auto, by hand") << "AUTO" << "" << 1;
    QTest::newRow("day first, automatic") << "DD-MM" << "ddmm" << 0;
  }
  void dateFormatChoice() {
    QFETCH(QString, button);
    QFETCH(QString, stored);
    QFETCH(int, manual);
    {
      WhoisServerRecord record(kServer, false);
      record.manuallyEdited = manual;
      record.dateFormat = manual ? "ddmm" : "";
    }
    CDateFormatDialog dialog(kServer);
    QCOMPARE(QString::fromStdString(dialog.ChosenOrder()), QString(manual ? "ddmm" : ""));
    QCOMPARE(dialog.AutomaticNote()->isHidden(), manual == 1);
    for (QRadioButton* radio : dialog.findChildren<QRadioButton*>())
      if (radio->text() == button) radio->click();
    dialog.accept();
    const std::string section = DirectorySection(kServer);
    QCOMPARE(QString::fromStdString(ReadDirectString(kCompanyName, kWhoisProduct, section, "Date Format", "?")),
             stored);
    QCOMPARE(ReadDirectInt(kCompanyName, kWhoisProduct, section, "Manually Edited", -1), manual);
  }

  // Confirming "Extra Settings" writes the setting and, with expansion on,
  // parses a DAC domain's kept answer again, leaving its lookup time alone.
  void extraSettingsReparse_data() {
    QTest::addColumn<bool>("expand");
    QTest::addColumn<QString>("serverFrom");  // "record", "directory" or "none"
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("reparsed");
    QTest::newRow("record names the DAC") << true << "record" << false << true;
    QTest::newRow("directory names the DAC") << true << "directory" << false << true;
    QTest::newRow("another server") << true << "none" << false << false;
    QTest::newRow("expansion off") << false << "record" << false << false;
    QTest::newRow("locked record") << true << "record" << true << false;
  }
  void extraSettingsReparse() {
    QFETCH(bool, expand);
    QFETCH(QString, serverFrom);
    QFETCH(bool, locked);
    QFETCH(bool, reparsed);
    const std::string dacAnswer = "example.co.uk,Y,N,N,06/11/2001,06/11/2030,2\n[Whois Source: dac.nic.uk]";
    const Date checkedAt = Date::FromYmd(2024, 3, 1);
    const QString doc = qvtest::MakeDocument("dac.qvl", {"example.co.uk"});
    QVERIFY(qvtest::EditRecord(doc, "example.co.uk", [&](DomainRecord& record) {
      record.SetDate(field::kLastCheckedAt, checkedAt);
      if (serverFrom == "record") record.SetText(field::kWhoisServer, "DAC.nic.uk");
      record.SetLocked(locked);
    }));
    if (serverFrom == "directory") TldRecord("co.uk").server = "dac.nic.uk";
    QVERIFY(SaveWhoisText("example.co.uk", dacAnswer));
    SetExpandNominetDac(!expand);

    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    frame.View()->SelectName("example.co.uk");
    qvtest::AnswerNextDialog<CExtraSettingsDialog>([expand](CExtraSettingsDialog& dialog) {
      QCOMPARE(dialog.ExpandDacBox()->isChecked(), !expand);
      dialog.ExpandDacBox()->setChecked(expand);
      dialog.accept();
    });
    frame.Action(kCmdExtraSettings)->trigger();
    QCOMPARE(GetProfileInt(kSettingsSection, "Expand Nominet DAC", -1), expand ? 1 : 0);

    DomainRecord record;
    QVERIFY(frame.Document().Database().ReadRecord("example.co.uk", record));
    QCOMPARE(record.DateValue(field::kCreatedOn).IsValid(), reparsed);
    QCOMPARE(record.DateValue(field::kExpiryDate) == Date::FromYmd(2030, 6, 11), reparsed);
    QCOMPARE(QString::fromStdString(record.Text(field::kStatus)),
             QString(reparsed ? "REGISTERED UNTIL EXPIRY DATE" : ""));
    QCOMPARE(record.DateValue(field::kLastCheckedAt), checkedAt);
    QCOMPARE(LoadWhoisText("example.co.uk"), dacAnswer);
    QVERIFY(!std::filesystem::exists(ChangeLogPath()));
  }

  // "String Tokens" opens at the selected domain's server when no server
  // was chosen before; a server set up for a listed TLD is offered once.
  void stringTokensCommand() {
    const QString doc = qvtest::MakeDocument("tokens.qvl", {"example.co.uk"});
    TldRecord("com").server = "Whois.Custom.Example";
    CMainFrame frame(qvtest::TestOptions(log_, {doc}));
    frame.View()->SelectName("example.co.uk");
    QString shown;
    QStringList offered;
    qvtest::AnswerNextDialog<CStringTokensDialog>([&shown, &offered](CStringTokensDialog& dialog) {
      shown = dialog.Server();
      for (int i = 0; i < dialog.ServerBox()->count(); ++i) offered << dialog.ServerBox()->itemText(i);
    });
    frame.Action(kCmdStringTokens)->trigger();
    QCOMPARE(shown, QString::fromStdString(WhoisServerFor("example.co.uk")));
    QVERIFY(!shown.isEmpty() && offered.contains(shown));
    QCOMPARE(offered.count("whois.custom.example"), 1);
  }
};

QV_TEST(ExtractionDialogsTest)
#include "test_extraction_dialogs.moc"
