// "Edit Domain Notes": the four notes of one name, Notes-A to Notes-D, one
// shown at a time. Switching the selector keeps what was typed; OK hands all
// four back and remembers the note last shown.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>

class QComboBox;
class QPlainTextEdit;

namespace qv {
class DomainRecord;
}  // namespace qv

inline constexpr int kNoteMaxLength = 255;

class CDomainNotesDialog : public QDialog {
  Q_OBJECT

 public:
  CDomainNotesDialog(const qv::DomainRecord& record, QWidget* parent = nullptr);

  QComboBox* Selector() const { return selector_; }
  QPlainTextEdit* Editor() const { return editor_; }
  // The four notes as edited (each cut to kNoteMaxLength characters).
  std::array<QString, 4> Notes() const;
  // Writes the notes that changed into `record`; true when any did.
  bool ApplyTo(qv::DomainRecord& record) const;
  void accept() override;

 private:
  void Show(int index);

  std::array<QString, 4> notes_;
  std::array<QString, 4> original_;
  int shown_ = 0;
  QComboBox* selector_;
  QPlainTextEdit* editor_;
};
