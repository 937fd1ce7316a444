// The name generation dialogs, driven as a user would, up to the names
// arriving in the document.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "app/command_ids.h"
#include "app/dialogs/create_domain_names_dialog.h"
#include "app/dialogs/domain_name_filter_dialog.h"
#include "app/dialogs/keyword_names_dialog.h"
#include "app/dialogs/template_names_dialog.h"
#include "app/main_frame.h"
#include "app/view/corvane_view.h"
#include "namegen/keyword_history.h"
#include "namegen/word_set.h"
#include "platform/settings_store.h"
#include "support/test_registry.h"
#include "test_command_support.h"
#include "test_file_support.h"
#include "test_main_frame_support.h"
#include "whois/server_directory.h"

using namespace qv;

namespace {

QStringList Sorted(QStringList l) {
  l.sort();
  return l;
}

QString FileText(const std::filesystem::path& p) {
  return QString::fromLatin1(qvtest::FileBytes(QString::fromStdString(p.string())));
}

}  // namespace

class NamegenDialogsTest : public qvtest::WindowTest {
  Q_OBJECT


 private slots:
  void init() {
    Fresh();
    SaveTldList({"com", "net", "co.uk"});
  }
  void cleanup() { LetGoOfList(); }

  // A keyword padded with the edited words of a set reaches the list; the
  // set, the options, the keyword and its history are kept for next time.
  void keywordNamesReachTheList() {
    CMainFrame frame(qvtest::TestOptions(log_, {qvtest::MakeDocument("kw.qvl")}));
    qvtest::AnswerNextDialog<CKeywordNamesDialog>([](CKeywordNamesDialog& d) {
      QCOMPARE(d.WordSet()->currentText(), QStringLiteral("business"));  // a set with words, at first use
      d.WordSet()->setCurrentText(QStringLiteral("shop"));
      QVERIFY(d.StartWords()->toPlainText().startsWith(QStringLiteral("planet\ngreat\nfab\n")));
      d.StartWords()->setPlainText(QStringLiteral("my"));
      d.EndWords()->setPlainText(QStringLiteral("zone"));
      d.Keyword()->setEditText(QStringLiteral("shop"));
      d.TldList()->item(1)->setCheckState(Qt::Checked);
      d.accept();
    });
    frame.Action(kCmdNamesFromKeywords)->trigger();
    QCOMPARE(Sorted(frame.View()->AllShownNames()),
             Sorted({"myshop.com", "myshop.net", "shopzone.com", "shopzone.net", "myshopzone.com", "myshopzone.net"}));
    QCOMPARE(FileText(WordSetFile(WordListFolder(), "shop")), QStringLiteral("my-\r\n-zone\r\n"));
    QCOMPARE(LoadKeywordHistory(), std::vector<std::string>{"shop"});

    CKeywordNamesDialog again;
    QCOMPARE(again.WordSet()->currentText(), QStringLiteral("shop"));
    QCOMPARE(again.Keyword()->currentText(), QStringLiteral("shop"));
    QCOMPARE(again.TldList()->item(1)->checkState(), Qt::Checked);
  }

  // Switching sets saves the boxes of the set left; Cancel keeps only what
  // earlier switches saved.
  void switchingSetsSaves() {
    CKeywordNamesDialog d;
    d.WordSet()->setCurrentText(QStringLiteral("custom"));
    QVERIFY(d.StartWords()->toPlainText().isEmpty());
    d.StartWords()->setPlainText(QStringLiteral("-web-"));
    d.WordSet()->setCurrentText(QStringLiteral("food"));
    QCOMPARE(FileText(WordSetFile(WordListFolder(), "custom")), QStringLiteral("web-\r\n"));
    d.WordSet()->setCurrentText(QStringLiteral("custom"));
    QCOMPARE(d.StartWords()->toPlainText(), QStringLiteral("web\n"));
    QVERIFY(d.EndWords()->toPlainText().isEmpty());
    d.StartWords()->setPlainText(QStringLiteral("lost"));
    d.reject();
    QCOMPARE(FileText(WordSetFile(WordListFolder(), "custom")), QStringLiteral("web-\r\n"));
  }

  // Generate on the worker, then a range of the words with the ticked
  // domains goes to the list.
  void templateNamesReachTheList() {
    CMainFrame frame(qvtest::TestOptions(log_, {qvtest::MakeDocument("tp.qvl")}));
    qvtest::AnswerNextDialog<CTemplateNamesDialog>([](CTemplateNamesDialog& d) {
      d.Template()->setText(QStringLiteral("#x"));
      QSignalSpy ended(&d, &CTemplateNamesDialog::generationEnded);
      d.OnGenerate();
      QVERIFY(d.Busy());
      QVERIFY(ended.wait(60000));
      QCOMPARE(d.Status()->text(), QStringLiteral("10 words generated."));
      QCOMPARE(d.Progress()->value(), 100);
      d.ExportFrom()->setText(QStringLiteral("3"));
      d.ExportTo()->setText(QStringLiteral("4"));
      d.OnExportToList();
    });
    frame.Action(kCmdNamesFromTemplates)->trigger();
    QCOMPARE(Sorted(frame.View()->AllShownNames()), QStringList({"2x.com", "3x.com"}));
    QCOMPARE(GetProfileString(kSettingsSection, "Name Gen Template", ""), std::string("#x"));
    QCOMPARE(GetProfileInt(kSettingsSection, "Name Gen Export From", 0), 3);
  }

  // An over-large template is refused before any work; an aborted run keeps
  // its words for export; the dialog will not close or export while busy.
  void templateGuards() {
    CTemplateNamesDialog d;
    d.prompts = qvtest::RecordingPrompts(log_);
    d.OnExportToList();
    QCOMPARE(log_->told.takeLast(), QStringLiteral("Please generate the words first!"));
    d.Template()->setText(QStringLiteral("??????"));
    d.OnGenerate();
    QVERIFY(!d.Busy());
    QVERIFY(log_->told.takeLast().startsWith(QStringLiteral("This template makes 2,176,782,336 words.")));

    d.Template()->setText(QStringLiteral("?????"));
    QSignalSpy ended(&d, &CTemplateNamesDialog::generationEnded);
    d.OnGenerate();
    QCOMPARE(d.GenerateButton()->text(), QStringLiteral("&Abort"));
    QTRY_VERIFY_WITH_TIMEOUT(d.WordCount() > 0, 30000);
    d.reject();
    QCOMPARE(log_->told.takeLast(), QStringLiteral("Busy!\r\nPlease abort the word generation first."));
    d.OnExportToList();
    QCOMPARE(log_->told.takeLast(), QStringLiteral("Busy!\r\nPlease wait for the word generation to end."));
    d.OnGenerate();  // Abort
    QVERIFY(ended.wait(30000));
    QVERIFY(d.WordCount() < 60466176);
    QCOMPARE(d.GenerateButton()->text(), QStringLiteral("&Generate"));

    // The words made so far export, each word with every ticked domain.
    d.TldList()->item(1)->setCheckState(Qt::Checked);
    d.ExportFrom()->setText(QStringLiteral("0"));
    d.ExportTo()->setText(QStringLiteral("2"));
    const QString path = qvtest::WorkPath("words.txt");
    log_->savePaths << path;
    d.OnExportToFile();
    QCOMPARE(log_->saveTitles, QStringList{"Save File Name"});
    QCOMPARE(qvtest::FileBytes(path), QByteArray("00000.com\r\n00000.net\r\n00001.com\r\n00001.net\r\n"));

    // No domain ticked: no names, so no file is asked for.
    d.TldList()->item(0)->setCheckState(Qt::Unchecked);
    d.TldList()->item(1)->setCheckState(Qt::Unchecked);
    d.OnExportToFile();
    QCOMPARE(log_->saveTitles.size(), 1);
    d.ExportTo()->setText(QStringLiteral("ten"));
    d.OnExportToList();
    QCOMPARE(log_->told.takeLast(), QStringLiteral("Please enter whole numbers in the From and To boxes."));
  }

  // Filters select, Invert, Group and Delete act on the selection, and the
  // status line counts; the fields are kept when the tool closes.
  void filterTool() {
    const QString file = qvtest::WorkFile("names.txt", "Alpha.com beta.net\r\ngamma-x.org;shop.co.uk");
    CDomainNameFilterDialog d;
    d.prompts = qvtest::RecordingPrompts(log_);
    QVERIFY(d.AddFile(file));
    QCOMPARE(d.Status()->text(), QStringLiteral("4 Names"));
    d.ApplyFilter(FilterKind::Chars);  // "-qxy"
    QCOMPARE(d.SelectedRows(), std::vector<std::size_t>{2});
    QCOMPARE(d.Status()->text(), QStringLiteral("4 Names [1 Selected]"));
    d.AutoUnselect()->setChecked(false);
    d.StartWords()->setText(QStringLiteral("AL"));
    d.ApplyFilter(FilterKind::StartWords);
    QCOMPARE(d.SelectedRows(), (std::vector<std::size_t>{0, 2}));
    d.OnInvert();
    QCOMPARE(d.SelectedRows(), (std::vector<std::size_t>{1, 3}));
    d.OnGroupSelected();
    QCOMPARE(d.Names(), (std::vector<std::string>{"shop.co.uk", "beta.net", "Alpha.com", "gamma-x.org"}));
    QCOMPARE(d.SelectedRows(), (std::vector<std::size_t>{0, 1}));
    QCOMPARE(d.Status()->text(), QStringLiteral("4 Names [2 Selected]"));
    d.OnDeleteSelected();
    QCOMPARE(d.Names(), (std::vector<std::string>{"Alpha.com", "gamma-x.org"}));
    QCOMPARE(d.Status()->text(), QStringLiteral("2 Names"));
    log_->answer = QMessageBox::No;
    d.OnStripTlds();
    QCOMPARE(d.Names().front(), std::string("Alpha.com"));
    log_->answer = QMessageBox::Yes;
    d.OnStripTlds();
    QCOMPARE(d.Names(), (std::vector<std::string>{"Alpha", "gamma-x"}));
    d.MinChars()->setValue(7);
    d.done(QDialog::Rejected);
    QCOMPARE(GetProfileInt(kSettingsSection, "Filter Min Chars", 0), 7);
    QCOMPARE(GetProfileInt(kSettingsSection, "Filter Auto Unselect", 1), 0);
    QCOMPARE(GetProfileString(kSettingsSection, "Filter Start Words", ""), std::string("AL"));
  }

  // Transfer adds the full names and offers the other words to the
  // "Create Domain Names" dialog, whose names are added too.
  void filterTransfersToTheList() {
    CMainFrame frame(qvtest::TestOptions(log_, {qvtest::MakeDocument("ft.qvl")}));
    const QString file = qvtest::WorkFile("mixed.txt", "a.com bare b.net");
    qvtest::AnswerNextDialog<CDomainNameFilterDialog>([file](CDomainNameFilterDialog& d) {
      QVERIFY(d.AddFile(file));
      qvtest::AnswerNextDialog<CCreateDomainNamesDialog>([](CCreateDomainNamesDialog& create) {
        QCOMPARE(create.TextBox()->toPlainText(), QStringLiteral("bare\n"));
        create.accept();
      });
      d.OnTransfer();
      QCOMPARE(d.Names().size(), std::size_t(3));  // the tool's list stays as it was
    });
    frame.Action(kCmdNamesAfterFiltering)->trigger();
    QCOMPARE(log_->asked.size(), 1);
    QVERIFY(log_->asked.first().startsWith(QStringLiteral("Not all entries in the list were added")));
    QCOMPARE(Sorted(frame.View()->AllShownNames()), QStringList({"a.com", "b.net", "bare.com"}));
  }
};

QV_TEST(NamegenDialogsTest)
#include "test_namegen_dialogs.moc"
