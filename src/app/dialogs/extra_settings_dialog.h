// "Extra Settings": whether the one-line answers of the .uk domain
// availability checker (DAC) are expanded into labelled lines before they are
// read. Confirming with the option on parses the selected domain's kept
// answer again when the DAC gave it, so its record shows the dates and status
// at once.
#pragma once

#include <QDialog>
#include <string_view>

class CMainFrame;
class QCheckBox;

namespace qv {

class DomainDatabase;

class CExtraSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CExtraSettingsDialog(QWidget* parent = nullptr);

  QCheckBox* ExpandDacBox() const { return expandDac_; }

 public slots:
  // Writes `Expand Nominet DAC`.
  void accept() override;

 private:
  QCheckBox* expandDac_;
};

// Parses the kept answer of a stored name into its record again, with the
// field rules of a lookup's answer. It is no new lookup: `Last Checked At`
// keeps its time and nothing reaches the change log. A locked record (one the
// user protected, or whose dates were edited by hand) is left alone. False
// when nothing was parsed: the name is not stored, is locked or has no kept
// answer.
bool ReparseStoredAnswer(DomainDatabase& db, std::string_view name);

// What confirming the dialog does for a domain of the list: when DAC answers
// are expanded and the domain's whois server is the DAC, its kept answer is
// parsed again. True when it was.
bool ReparseWhenDacDomain(DomainDatabase& db, std::string_view name);

// The "Extra Settings" command.
void RunExtraSettingsDialog(CMainFrame& frame);

}  // namespace qv
