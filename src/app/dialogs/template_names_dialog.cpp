#include "app/dialogs/template_names_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>

#include "app/commands/file_filters.h"
#include "app/dialogs/tld_check_list.h"
#include "namegen/name_emitter.h"
#include "namegen/namegen_settings.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace qv {
namespace {

using namespace namegen_keys;

// More names than this are not handed to the list in one go: they would
// not fit in memory. A text file takes any number.
constexpr std::uint64_t kMaxListExport = 10'000'000;

// Calls sink(name) for every name of the range; sink returns false to stop.
template <typename Sink>
void ForEachExportName(const NameTemplate& tmpl, WordRange range, NameEmitter& emitter, Sink&& sink) {
  if (range.first >= range.end) return;
  TemplateCursor cursor(tmpl, range.first);
  bool go = true;
  for (std::uint64_t i = range.first; i < range.end && go; ++i, cursor.Next())
    emitter.Emit(cursor.Word(), [&](std::string_view name) {
      if (go) go = sink(name);
    });
}

}  // namespace

CTemplateNamesDialog::CTemplateNamesDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Create Domain Names from Templates"));
  template_ = new QLineEdit(ToQString(GetProfileString(kSettingsSection, kTemplate, "")), this);
  from_ = new QLineEdit(QString::number(GetProfileInt(kSettingsSection, kExportFrom, 1)), this);
  to_ = new QLineEdit(QString::number(GetProfileInt(kSettingsSection, kExportTo, 1000)), this);
  generate_ = new QPushButton(tr("&Generate"), this);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  status_ = new QLabel(this);
  tlds_ = new QListWidget(this);
  FillTldCheckList(tlds_);
  selectAll_ = new QCheckBox(tr("Select / Unselect All"), this);
  auto* toFile = new QPushButton(tr("Export to text file..."), this);
  auto* toList = new QPushButton(tr("Export to program list"), this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);

  connect(generate_, &QPushButton::clicked, this, &CTemplateNamesDialog::OnGenerate);
  connect(toFile, &QPushButton::clicked, this, &CTemplateNamesDialog::OnExportToFile);
  connect(toList, &QPushButton::clicked, this, &CTemplateNamesDialog::OnExportToList);
  connect(buttons, &QDialogButtonBox::rejected, this, &CTemplateNamesDialog::reject);
  connect(selectAll_, &QCheckBox::clicked, this, [this](bool on) { SetAllTldTicks(tlds_, on); });

  auto* help = new QLabel(tr("Type a template. In the template:\n"
                             "  ?  stands for a letter or a digit\n"
                             "  #  stands for a digit\n"
                             "  &&  stands for a letter\n"
                             "Any other character stands for itself; ???web gives 000web to zzzweb."),
                          this);
  auto* grid = new QGridLayout(this);
  grid->addWidget(help, 0, 0, 1, 4);
  grid->addWidget(new QLabel(tr("Template:"), this), 1, 0);
  grid->addWidget(template_, 1, 1, 1, 2);
  grid->addWidget(generate_, 1, 3);
  grid->addWidget(progress_, 2, 0, 1, 4);
  grid->addWidget(new QLabel(tr("Export words from"), this), 3, 0);
  grid->addWidget(from_, 3, 1);
  grid->addWidget(new QLabel(tr("to"), this), 3, 2);
  grid->addWidget(to_, 3, 3);
  grid->addWidget(tlds_, 4, 0, 3, 3);
  grid->addWidget(selectAll_, 4, 3);
  grid->addWidget(toFile, 5, 3);
  grid->addWidget(toList, 6, 3);
  grid->addWidget(buttons, 7, 0, 1, 4);
  grid->addWidget(status_, 8, 0, 1, 4);
}

CTemplateNamesDialog::~CTemplateNamesDialog() {
  if (worker_) {
    abort_ = true;
    worker_->join();
  }
}

void CTemplateNamesDialog::StoreSettings() {
  WriteProfileString(kSettingsSection, kTemplate, ToStdString(template_->text()));
  bool ok = false;
  if (const int from = from_->text().trimmed().toInt(&ok); ok) WriteProfileInt(kSettingsSection, kExportFrom, from);
  if (const int to = to_->text().trimmed().toInt(&ok); ok) WriteProfileInt(kSettingsSection, kExportTo, to);
}

bool CTemplateNamesDialog::ReadRange(Range& range) {
  bool fromOk = false, toOk = false;
  range.from = from_->text().trimmed().toLongLong(&fromOk);
  range.to = to_->text().trimmed().toLongLong(&toOk);
  if (fromOk && toOk) return true;
  prompts.tell(this, tr("Please enter whole numbers in the From and To boxes."));
  return false;
}

void CTemplateNamesDialog::OnGenerate() {
  StoreSettings();
  if (Busy()) {
    abort_ = true;  // the button acts as Abort
    return;
  }
  auto tmpl = std::make_unique<NameTemplate>(ToStdString(template_->text()));
  const std::string refusal = TemplateRefusal(*tmpl);
  if (!refusal.empty()) {
    prompts.tell(this, ToQString(refusal));
    return;
  }
  words_ = std::move(tmpl);
  generated_ = 0;
  abort_ = false;
  generate_->setText(tr("&Abort"));
  progress_->setValue(0);
  status_->clear();
  const NameTemplate* words = words_.get();
  // The worker only counts its way through the words and reports through
  // queued calls; it never touches a widget.
  worker_ = std::make_unique<std::thread>([this, words] {
    const std::uint64_t done = WalkTemplate(*words, abort_, [this](std::uint64_t soFar) {
      QMetaObject::invokeMethod(this, [this, soFar] { OnProgress(soFar); }, Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(this, [this, done] { OnWorkerDone(done); }, Qt::QueuedConnection);
  });
}

void CTemplateNamesDialog::OnProgress(std::uint64_t done) {
  if (!Busy()) return;  // a report that arrived after the end
  generated_ = done;
  progress_->setValue(int(done * 100 / words_->Count()));
}

void CTemplateNamesDialog::OnWorkerDone(std::uint64_t done) {
  worker_->join();
  worker_.reset();
  generated_ = done;
  progress_->setValue(int(done * 100 / words_->Count()));
  generate_->setText(tr("&Generate"));
  status_->setText(tr("%1 words generated.").arg(done));
  emit generationEnded();
}

bool CTemplateNamesDialog::ReadyToExport(Range& range, std::vector<std::string>& tlds) {
  StoreSettings();
  if (!ReadRange(range)) return false;
  if (generated_ == 0) {
    prompts.tell(this, tr("Please generate the words first!"));
    return false;
  }
  if (Busy()) {
    prompts.tell(this, tr("Busy!\r\nPlease wait for the word generation to end."));
    return false;
  }
  tlds = SaveTldTicks(tlds_);
  return true;
}

void CTemplateNamesDialog::OnExportToList() {
  Range range;
  std::vector<std::string> tlds;
  if (!ReadyToExport(range, tlds)) return;
  const WordRange words = ExportRange(range.from, range.to, generated_);
  if (words.first < words.end && (words.end - words.first) * tlds.size() > kMaxListExport) {
    prompts.tell(this, tr("At most %L1 names can be added to the list at a time.\r\nPlease export a "
                          "smaller range, or export to a text file and import that file.")
                           .arg(kMaxListExport));
    return;
  }
  exportNames_.clear();
  NameEmitter emitter(tlds);
  ForEachExportName(*words_, words, emitter, [this](std::string_view name) {
    exportNames_.emplace_back(name);
    return true;
  });
  tooLong_ = emitter.TooLong();
  if (!exportNames_.empty()) accept();
}

void CTemplateNamesDialog::OnExportToFile() {
  Range range;
  std::vector<std::string> tlds;
  if (!ReadyToExport(range, tlds)) return;
  const WordRange words = ExportRange(range.from, range.to, generated_);
  NameEmitter probe(tlds);
  bool any = false;
  ForEachExportName(*words_, words, probe, [&any](std::string_view) { return !(any = true); });
  if (!any) return;
  const QString path = prompts.saveFile(this, tr("Save File Name"), QString::fromLatin1(kTextFilesFilter));
  if (path.isEmpty()) return;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    prompts.tell(this, tr("The file %1 could not be written.\r\n%2").arg(path, file.errorString()));
    return;
  }
  NameEmitter emitter(tlds);
  std::string buffer;
  ForEachExportName(*words_, words, emitter, [&](std::string_view name) {
    buffer.append(name).append("\r\n");
    if (buffer.size() < (1 << 16)) return true;
    const bool written = file.write(buffer.data(), qint64(buffer.size())) == qint64(buffer.size());
    buffer.clear();
    return written;
  });
  tooLong_ = emitter.TooLong();
  file.write(buffer.data(), qint64(buffer.size()));
  if (!file.commit()) {
    prompts.tell(this, tr("The file %1 could not be written.\r\n%2").arg(path, file.errorString()));
    return;
  }
  if (tooLong_ > 0) prompts.tell(this, ToQString(TooLongNamesText(tooLong_)));
}

void CTemplateNamesDialog::reject() {
  if (Busy()) {
    prompts.tell(this, tr("Busy!\r\nPlease abort the word generation first."));
    return;
  }
  QDialog::reject();
}

}  // namespace qv
