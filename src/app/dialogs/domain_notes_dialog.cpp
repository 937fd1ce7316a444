#include "app/dialogs/domain_notes_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "store/domain_record.h"

namespace {

constexpr const char* kNotesIndexKey = "Domain Notes Index";
constexpr const char* kNoteFields[4] = {qv::field::kNotes, qv::field::kNotes2, qv::field::kNotesC,
                                        qv::field::kNotesD};

}  // namespace

CDomainNotesDialog::CDomainNotesDialog(const qv::DomainRecord& record, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Edit Domain Notes"));
  for (int i = 0; i < 4; ++i) original_[std::size_t(i)] = qv::ToQString(record.Text(kNoteFields[i]));
  notes_ = original_;
  selector_ = new QComboBox(this);
  selector_->addItems({QStringLiteral("Notes-A"), QStringLiteral("Notes-B"), QStringLiteral("Notes-C"),
                       QStringLiteral("Notes-D")});
  editor_ = new QPlainTextEdit(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(qv::ToQString(record.Domain()), this));
  layout->addWidget(selector_);
  layout->addWidget(editor_, 1);
  layout->addWidget(qv::OkCancelButtons(this));
  const int index = qv::GetProfileInt(qv::kSettingsSection, kNotesIndexKey, 0);
  shown_ = index >= 0 && index < 4 ? index : 0;
  selector_->setCurrentIndex(shown_);
  editor_->setPlainText(notes_[std::size_t(shown_)]);
  connect(selector_, &QComboBox::currentIndexChanged, this, &CDomainNotesDialog::Show);
}

void CDomainNotesDialog::Show(int index) {
  if (index < 0 || index > 3) return;
  notes_[std::size_t(shown_)] = editor_->toPlainText();
  shown_ = index;
  editor_->setPlainText(notes_[std::size_t(index)]);
}

std::array<QString, 4> CDomainNotesDialog::Notes() const {
  std::array<QString, 4> notes = notes_;
  notes[std::size_t(shown_)] = editor_->toPlainText();
  for (QString& n : notes) n.truncate(kNoteMaxLength);
  return notes;
}

bool CDomainNotesDialog::ApplyTo(qv::DomainRecord& record) const {
  const std::array<QString, 4> notes = Notes();
  bool changed = false;
  for (int i = 0; i < 4; ++i) {
    if (notes[std::size_t(i)] == original_[std::size_t(i)]) continue;
    record.SetText(kNoteFields[i], qv::ToStdString(notes[std::size_t(i)]));
    changed = true;
  }
  return changed;
}

void CDomainNotesDialog::accept() {
  qv::WriteProfileInt(qv::kSettingsSection, kNotesIndexKey, selector_->currentIndex());
  QDialog::accept();
}
