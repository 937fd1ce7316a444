#include "app/dialogs/domain_name_filter_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

#include "app/commands/file_filters.h"
#include "app/dialogs/filter_names_model.h"
#include "app/progress.h"
#include "namegen/namegen_settings.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "store/name_text.h"
#include "store/simple_names.h"

namespace qv {
namespace {

using namespace namegen_keys;

constexpr const char* kProcessingTitle = "Processsing Domain Names";  // spelled so
constexpr const char* kStripQuestion =
    "This will remove all the top level and\r\ncountry codes from the domain names in\r\nthe list.\r\n\r\n"
    "Are you sure?";
constexpr const char* kNotQualifiedQuestion =
    "Not all entries in the list were added\r\nto the main list because some of them\r\nwere not "
    "qualified domain names.\r\n\r\nDo you wish to process the words that\r\nwere not added?";
constexpr const char* kHelpText =
    "The Domain Name Filter is a scratch list for large lists of names; it is not part of the "
    "database.\r\n\r\n"
    "&Add... reads a text file of names (separated by new lines, blanks, tabs or \";\") and "
    "appends them.\r\n\r\n"
    "Each Go button selects the names its field describes; letter case never matters. The name "
    "part of a name is the text before its first dot.\r\n"
    "  Words at the start: the name begins with one of the words.\r\n"
    "  Words at the end: the name part ends with one of the words.\r\n"
    "  Words anywhere: the name part holds one of the words.\r\n"
    "  Letters or digits: the name part holds one of the characters.\r\n"
    "  Longer than / Shorter than: the length of the whole name.\r\n"
    "  TLD or country code: the name ends with it (\"uk\" also selects \".co.uk\").\r\n"
    "Words are separated by blanks, commas or \";\". With \"Unselect all names whenever a filter "
    "is applied.\" off, each filter adds to the selection.\r\n\r\n"
    "Delete Selected removes the selection, Group Selected moves it to the top, Invert swaps "
    "selected and unselected rows, Strip TLDs cuts every name at its first dot.\r\n\r\n"
    "Transfer All Names To Main List adds the full names to the database and offers the other "
    "words to the Create Domain Names dialog.";

QLineEdit* Field(const char* key, const char* defaultValue, QWidget* parent) {
  return new QLineEdit(ToQString(GetProfileString(kSettingsSection, key, defaultValue)), parent);
}

QSpinBox* Bound(const char* key, int defaultValue, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(0, 9999);
  box->setValue(GetProfileInt(kSettingsSection, key, defaultValue));
  return box;
}

}  // namespace

CDomainNameFilterDialog::CDomainNameFilterDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Domain Name Filter"));
  model_ = new CFilterNamesModel(this);
  view_ = new QTableView(this);
  view_->setModel(model_);
  view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->horizontalHeader()->setStretchLastSection(true);
  view_->verticalHeader()->hide();
  // Rows of one fixed height let the view skip measuring a million names.
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->setWordWrap(false);

  start_ = Field(kFilterStartWords, "", this);
  end_ = Field(kFilterEndWords, "", this);
  middle_ = Field(kFilterMiddleWords, "", this);
  chars_ = Field(kFilterCharList, "-qxy", this);
  maxChars_ = Bound(kFilterMaxChars, 35, this);
  minChars_ = Bound(kFilterMinChars, 5, this);
  tld_ = Field(kFilterTld, "", this);
  autoUnselect_ = new QCheckBox(tr("Unselect all names whenever a filter is applied."), this);
  autoUnselect_->setChecked(GetProfileInt(kSettingsSection, kFilterAutoUnselect, 1) != 0);
  status_ = new QLabel(this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(view_, 0, 0, 14, 1);
  const struct {
    const char* label;
    QWidget* field;
    FilterKind kind;
  } filters[] = {{"Words at the start:", start_, FilterKind::StartWords},
                 {"Words at the end:", end_, FilterKind::EndWords},
                 {"Words anywhere:", middle_, FilterKind::MiddleWords},
                 {"Letters or digits:", chars_, FilterKind::Chars},
                 {"Longer than:", maxChars_, FilterKind::LongerThan},
                 {"Shorter than:", minChars_, FilterKind::ShorterThan},
                 {"TLD or country code:", tld_, FilterKind::Tld}};
  int row = 0;
  for (const auto& f : filters) {
    auto* go = new QPushButton(tr("Go"), this);
    const FilterKind kind = f.kind;
    connect(go, &QPushButton::clicked, this, [this, kind] { ApplyFilter(kind); });
    grid->addWidget(new QLabel(tr(f.label), this), row, 1);
    grid->addWidget(f.field, row, 2);
    grid->addWidget(go, row, 3);
    ++row;
  }
  grid->addWidget(autoUnselect_, row++, 1, 1, 3);
  const std::pair<const char*, void (CDomainNameFilterDialog::*)()> buttons[] = {
      {"&Add...", &CDomainNameFilterDialog::OnAdd},
      {"Unselect &All", &CDomainNameFilterDialog::OnUnselectAll},
      {"Invert...", &CDomainNameFilterDialog::OnInvert},
      {"&Group Selected", &CDomainNameFilterDialog::OnGroupSelected},
      {"&Delete Selected", &CDomainNameFilterDialog::OnDeleteSelected},
      {"Clear", &CDomainNameFilterDialog::OnClear},
      {"Strip TLDs", &CDomainNameFilterDialog::OnStripTlds},
      {"Transfer All Names To Main List", &CDomainNameFilterDialog::OnTransfer},
      {"&Help", &CDomainNameFilterDialog::OnHelp}};
  int column = 1;
  for (const auto& [text, slot] : buttons) {
    auto* button = new QPushButton(tr(text), this);
    connect(button, &QPushButton::clicked, this, slot);
    grid->addWidget(button, row, column);
    if (++column > 3) {
      column = 1;
      ++row;
    }
  }
  auto* close = new QPushButton(tr("&Close"), this);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  grid->addWidget(close, ++row, 3);
  grid->addWidget(status_, ++row, 0, 1, 4);
  grid->setColumnStretch(0, 1);
  ShowCount();
}

const std::vector<std::string>& CDomainNameFilterDialog::Names() const { return model_->Names(); }

std::vector<bool> CDomainNameFilterDialog::SelectionMask() const {
  std::vector<bool> mask(Names().size(), false);
  for (const QItemSelectionRange& range : view_->selectionModel()->selection())
    for (int r = range.top(); r <= range.bottom(); ++r)
      if (std::size_t(r) < mask.size()) mask[std::size_t(r)] = true;
  return mask;
}

void CDomainNameFilterDialog::SelectMask(const std::vector<bool>& mask) {
  // One range per run of selected rows, so a large selection is made in one
  // step.
  QItemSelection selection;
  for (std::size_t r = 0; r < mask.size();) {
    if (!mask[r]) {
      ++r;
      continue;
    }
    std::size_t end = r;
    while (end + 1 < mask.size() && mask[end + 1]) ++end;
    selection.append(QItemSelectionRange(model_->index(int(r)), model_->index(int(end))));
    r = end + 1;
  }
  // Cleared first: the model compares an old and a new selection range by
  // range, which is quadratic when both are large.
  view_->selectionModel()->clearSelection();
  view_->selectionModel()->select(selection, QItemSelectionModel::Select);
}

std::vector<std::size_t> CDomainNameFilterDialog::SelectedRows() const {
  std::vector<std::size_t> rows;
  const std::vector<bool> mask = SelectionMask();
  for (std::size_t r = 0; r < mask.size(); ++r)
    if (mask[r]) rows.push_back(r);
  return rows;
}

void CDomainNameFilterDialog::SelectRows(const std::vector<std::size_t>& rows) {
  std::vector<bool> mask(Names().size(), false);
  for (std::size_t r : rows)
    if (r < mask.size()) mask[r] = true;
  SelectMask(mask);
}

void CDomainNameFilterDialog::ShowCount() { status_->setText(tr("%1 Names").arg(Names().size())); }

void CDomainNameFilterDialog::ShowCountAndSelection() { ShowCountAndSelection(SelectionMask()); }

void CDomainNameFilterDialog::ShowCountAndSelection(const std::vector<bool>& mask) {
  const auto selected = std::count(mask.begin(), mask.end(), true);
  status_->setText(tr("%1 Names [%2 Selected]").arg(Names().size()).arg(selected));
}

void CDomainNameFilterDialog::OnAdd() {
  const QString path = prompts.openFile(this, tr("Import Names From"), QString::fromLatin1(kTextFilesFilter));
  if (!path.isEmpty() && !AddFile(path)) prompts.tell(this, tr("The file %1 could not be read.").arg(path));
}

bool CDomainNameFilterDialog::AddFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
  model_->Edit([&](std::vector<std::string>& names) {
    if (text.size() <= kNamePieceSize) {
      AppendNamesFromText(names, text);
      return;
    }
    ProgressWindow window(this, tr("Adding Domain Names"));
    AppendNamesFromText(names, text, [&window](std::size_t done, std::size_t total) {
      return window.Advance((long long)done, (long long)total);
    });
  });
  ShowCount();
  return true;
}

NameFilter CDomainNameFilterDialog::FilterOf(FilterKind kind) const {
  switch (kind) {
    case FilterKind::StartWords: return {kind, ToStdString(start_->text()), 0};
    case FilterKind::EndWords: return {kind, ToStdString(end_->text()), 0};
    case FilterKind::MiddleWords: return {kind, ToStdString(middle_->text()), 0};
    case FilterKind::Chars: return {kind, ToStdString(chars_->text()), 0};
    case FilterKind::LongerThan: return {kind, {}, maxChars_->value()};
    case FilterKind::ShorterThan: return {kind, {}, minChars_->value()};
    case FilterKind::Tld: return {kind, ToStdString(tld_->text()), 0};
  }
  return {};
}

void CDomainNameFilterDialog::ApplyFilter(FilterKind kind) {
  const NameFilter filter = FilterOf(kind);
  if (!FilterApplies(filter)) return;
  std::vector<std::size_t> rows;
  {
    ProgressWindow window(this, tr("Filtering Domain Names"));
    rows = MatchingRows(Names(), filter, [&window](std::size_t done, std::size_t total) {
      return window.Advance((long long)done, (long long)total);
    });
  }
  std::vector<bool> mask = autoUnselect_->isChecked() ? std::vector<bool>(Names().size(), false) : SelectionMask();
  for (std::size_t r : rows) mask[r] = true;
  SelectMask(mask);
  ShowCountAndSelection(mask);
}

void CDomainNameFilterDialog::OnUnselectAll() {
  view_->selectionModel()->clearSelection();
  ShowCountAndSelection();
}

void CDomainNameFilterDialog::OnInvert() {
  std::vector<bool> mask = SelectionMask();
  mask.flip();
  SelectMask(mask);
  ShowCountAndSelection(mask);
}

void CDomainNameFilterDialog::OnDeleteSelected() {
  const std::vector<bool> mask = SelectionMask();
  model_->Edit([&mask](std::vector<std::string>& names) { DeleteRows(names, mask); });
  view_->selectionModel()->clearSelection();
  ShowCount();
}

void CDomainNameFilterDialog::OnGroupSelected() {
  if (Names().empty()) return;
  const std::vector<bool> mask = SelectionMask();
  std::size_t moved = 0;
  {
    ProgressWindow window(this, QString::fromLatin1(kProcessingTitle));
    window.Advance(0, 1);
    model_->Edit([&](std::vector<std::string>& names) { moved = GroupRows(names, mask); });
    window.Advance(1, 1);
  }
  std::vector<bool> top(Names().size(), false);
  std::fill(top.begin(), top.begin() + std::ptrdiff_t(moved), true);
  SelectMask(top);
  ShowCountAndSelection(top);
}

void CDomainNameFilterDialog::OnClear() {
  model_->Edit([](std::vector<std::string>& names) { names.clear(); });
  ShowCount();
}

void CDomainNameFilterDialog::OnStripTlds() {
  if (Names().empty()) return;
  if (prompts.ask(this, QString::fromLatin1(kStripQuestion),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) != QMessageBox::Yes)
    return;
  const std::vector<bool> mask = SelectionMask();
  ProgressWindow window(this, QString::fromLatin1(kProcessingTitle));
  window.Advance(0, 1);
  model_->Edit([](std::vector<std::string>& names) { StripTlds(names); });
  SelectMask(mask);  // the rows stay where they were, and so does the selection
  window.Advance(1, 1);
}

void CDomainNameFilterDialog::OnTransfer() {
  if (!requireDocument || !requireDocument()) return;
  QualifiedSplit split;
  {
    ProgressWindow window(this, tr("Adding Domain Names"));
    window.Advance(0, 1);
    split = SplitQualifiedNames(Names());
  }
  if (addNames && !split.qualified.empty()) addNames(split.qualified);
  if (split.bare.empty()) return;
  if (prompts.ask(this, QString::fromLatin1(kNotQualifiedQuestion), QMessageBox::Yes | QMessageBox::No) !=
      QMessageBox::Yes)
    return;
  if (!createNames) return;
  const std::vector<std::string> made = createNames(split.bare);
  if (addNames && !made.empty()) addNames(made);
}

void CDomainNameFilterDialog::OnHelp() {
  prompts.showText(this, tr("Domain Name Filter Help"), QString::fromLatin1(kHelpText));
}

void CDomainNameFilterDialog::done(int result) {
  const char* S = kSettingsSection;
  SettingsBatch::Profile()
      .SetString(S, kFilterStartWords, ToStdString(start_->text()))
      .SetString(S, kFilterEndWords, ToStdString(end_->text()))
      .SetString(S, kFilterMiddleWords, ToStdString(middle_->text()))
      .SetString(S, kFilterCharList, ToStdString(chars_->text()))
      .SetInt(S, kFilterMaxChars, maxChars_->value())
      .SetInt(S, kFilterMinChars, minChars_->value())
      .SetString(S, kFilterTld, ToStdString(tld_->text()))
      .SetInt(S, kFilterAutoUnselect, autoUnselect_->isChecked() ? 1 : 0)
      .Commit();
  QDialog::done(result);
}

}  // namespace qv
