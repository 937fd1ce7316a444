#include "app/dialogs/keyword_names_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "app/commands/file_filters.h"
#include "app/dialogs/ok_cancel_buttons.h"
#include "app/dialogs/tld_check_list.h"
#include "namegen/builtin_word_lists.h"
#include "namegen/keyword_history.h"
#include "namegen/keyword_names.h"
#include "namegen/namegen_settings.h"
#include "namegen/word_set.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace qv {
namespace {

using namespace namegen_keys;

QCheckBox* OptionBox(const char* text, const char* key, QWidget* parent) {
  auto* box = new QCheckBox(QObject::tr(text), parent);
  box->setChecked(GetProfileInt(kSettingsSection, key, 0) != 0);
  return box;
}

void StoreOption(const QCheckBox* box, const char* key) {
  WriteProfileInt(kSettingsSection, key, box->isChecked() ? 1 : 0);
}

// Box text as the edit control keeps it: LF line ends.
QString BoxText(const std::string& words) {
  QString text = ToQString(words);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return text;
}

std::vector<std::string> SortedSetNames() {
  std::vector<std::string> names = WordSetNames();
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

CKeywordNamesDialog::CKeywordNamesDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Create Domain Names from Keywords"));
  keyword_ = new QComboBox(this);
  keyword_->setEditable(true);
  keyword_->setInsertPolicy(QComboBox::NoInsert);
  wordSet_ = new QComboBox(this);
  start_ = new QPlainTextEdit(this);
  end_ = new QPlainTextEdit(this);
  auto* importStart = new QPushButton(tr("Import Keywords..."), this);
  auto* importEnd = new QPushButton(tr("Import Keywords..."), this);
  hyphens_ = OptionBox("Allow hyphens", kAllowHyphens, this);
  single_ = OptionBox("Single word padding", kSinglePadding, this);
  noPrefix_ = OptionBox("No prefix padding", kNoPrefix, this);
  noSuffix_ = OptionBox("No suffix padding", kNoSuffix, this);
  tlds_ = new QListWidget(this);
  selectAll_ = new QCheckBox(tr("Select / Unselect All"), this);

  FillTldCheckList(tlds_);
  for (const std::string& name : SortedSetNames()) wordSet_->addItem(ToQString(name));
  folder_ = WordListFolder();
  // Before any choice was stored, a set with words in it (the first sorted
  // set, "adult", starts empty and would show a new user nothing).
  const int index = GetProfileInt(kSettingsSection, kWordSetIndex, -1);
  const int firstUse = std::max(0, wordSet_->findText(QStringLiteral("business")));
  wordSet_->setCurrentIndex(index >= 0 && index < wordSet_->count() ? index : firstUse);
  for (const std::string& keyword : LoadKeywordHistory()) keyword_->addItem(ToQString(keyword));
  keyword_->setCurrentIndex(-1);
  keyword_->setEditText(ToQString(GetProfileString(kSettingsSection, kKeyword, "")));
  SwitchWordSet();

  connect(wordSet_, &QComboBox::currentIndexChanged, this, [this] { SwitchWordSet(); });
  connect(importStart, &QPushButton::clicked, this, [this] { OnImportWords(start_); });
  connect(importEnd, &QPushButton::clicked, this, [this] { OnImportWords(end_); });
  connect(selectAll_, &QCheckBox::clicked, this, [this](bool on) { SetAllTldTicks(tlds_, on); });

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(tr("Main keyword:"), this), 0, 0);
  grid->addWidget(keyword_, 0, 1, 1, 2);
  grid->addWidget(new QLabel(tr("Word set:"), this), 1, 0);
  grid->addWidget(wordSet_, 1, 1, 1, 2);
  grid->addWidget(new QLabel(tr("Words at the start:"), this), 2, 0);
  grid->addWidget(importStart, 2, 1);
  grid->addWidget(new QLabel(tr("Words at the end:"), this), 2, 2);
  grid->addWidget(importEnd, 2, 3);
  grid->addWidget(start_, 3, 0, 1, 2);
  grid->addWidget(end_, 3, 2, 1, 2);
  grid->addWidget(hyphens_, 4, 0);
  grid->addWidget(single_, 4, 1);
  grid->addWidget(noPrefix_, 4, 2);
  grid->addWidget(noSuffix_, 4, 3);
  grid->addWidget(new QLabel(tr("Create names for the following  top level domains."), this), 5, 0, 1, 4);
  grid->addWidget(tlds_, 6, 0, 1, 3);
  grid->addWidget(selectAll_, 6, 3, Qt::AlignTop);
  grid->addWidget(OkCancelButtons(this), 7, 0, 1, 4);
  grid->setRowStretch(3, 1);
}

void CKeywordNamesDialog::SwitchWordSet() {
  if (!loadedSet_.empty()) {
    // A file that cannot be written is left as it was; the boxes keep their text.
    SaveWordSet(folder_, loadedSet_,
                {ToStdString(start_->toPlainText()), ToStdString(end_->toPlainText())});
  }
  const std::string set = ToStdString(wordSet_->currentText());
  const WordBoxes boxes = WordBoxesFromSetText(LoadWordSetText(folder_, set));
  start_->setPlainText(BoxText(boxes.startWords));
  end_->setPlainText(BoxText(boxes.endWords));
  loadedSet_ = set;
}

bool CKeywordNamesDialog::ImportWords(QPlainTextEdit* box, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  box->setPlainText(ToQString(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
  return true;
}

void CKeywordNamesDialog::OnImportWords(QPlainTextEdit* box) {
  const QString path = prompts.openFile(this, tr("Import words from text file"), QString::fromLatin1(kTextFilesFilter));
  if (path.isEmpty()) return;
  if (!ImportWords(box, path)) prompts.tell(this, tr("The file %1 could not be read.").arg(path));
}

void CKeywordNamesDialog::accept() {
  SwitchWordSet();  // saves the boxes and shows them as stored
  StoreOption(hyphens_, kAllowHyphens);
  StoreOption(noPrefix_, kNoPrefix);
  StoreOption(noSuffix_, kNoSuffix);
  StoreOption(single_, kSinglePadding);
  const QString keyword = keyword_->currentText();
  WriteProfileString(kSettingsSection, kKeyword, ToStdString(keyword));
  WriteProfileInt(kSettingsSection, kWordSetIndex, wordSet_->currentIndex());

  std::vector<std::string> history = LoadKeywordHistory();
  if (PushKeyword(history, ToStdString(keyword)) == 0) {
    SaveKeywordHistory(history);
    keyword_->clear();
    for (const std::string& entry : history) keyword_->addItem(ToQString(entry));
    keyword_->setCurrentIndex(0);
  }

  const KeywordOptions options{hyphens_->isChecked(), single_->isChecked(), noPrefix_->isChecked(),
                               noSuffix_->isChecked()};
  KeywordNames made =
      GenerateKeywordNames(ToStdString(keyword), SplitWordLines(ToStdString(start_->toPlainText())),
                           SplitWordLines(ToStdString(end_->toPlainText())), options, SaveTldTicks(tlds_));
  names_ = std::move(made.names);
  tooLong_ = made.tooLong;
  QDialog::accept();
}

}  // namespace qv
