#include "app/dialogs/whois_logging_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/file_dialogs.h"
#include "lookup/answer_files.h"
#include "platform/text.h"

CWhoisLoggingDialog::CWhoisLoggingDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Raw Whois Data Log"));
  enabled_ = new QCheckBox(QStringLiteral("Enable Raw Whois Logging (to Disk)"), this);
  folder_ = new QLineEdit(this);
  folder_->setPlaceholderText(qv::ToQString(qv::DefaultWhoisDataFolder().string()));
  auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
  connect(browse, &QPushButton::clicked, this, &CWhoisLoggingDialog::Browse);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(folder_, 1);
  folderRow->addWidget(browse);
  auto* note = new QLabel(
      QStringLiteral("The whois answer of each domain is kept as a text file in a folder named "
                     "after the domain's first letter. Leave the folder empty for the default."),
      this);
  note->setWordWrap(true);
  auto* buttons = qv::OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(enabled_);
  layout->addWidget(new QLabel(QStringLiteral("Folder of the whois data files:"), this));
  layout->addLayout(folderRow);
  layout->addWidget(note);
  layout->addWidget(buttons);

  SetLoggingEnabled(qv::SaveWhoisDataEnabled());
  const std::filesystem::path folder = qv::WhoisDataFolder();
  SetFolder(folder == qv::DefaultWhoisDataFolder() ? QString() : qv::ToQString(folder.string()));
}

bool CWhoisLoggingDialog::LoggingEnabled() const { return enabled_->isChecked(); }
void CWhoisLoggingDialog::SetLoggingEnabled(bool on) { enabled_->setChecked(on); }
QString CWhoisLoggingDialog::Folder() const { return folder_->text().trimmed(); }
void CWhoisLoggingDialog::SetFolder(const QString& folder) { folder_->setText(folder); }

void CWhoisLoggingDialog::Browse() {
  const QString start = Folder().isEmpty() ? folder_->placeholderText() : Folder();
  const QString chosen = qv::ChooseFolder(this, windowTitle(), start);
  if (!chosen.isEmpty()) SetFolder(chosen);
}

void CWhoisLoggingDialog::accept() {
  qv::SetSaveWhoisDataEnabled(LoggingEnabled());
  qv::SetWhoisDataFolder(std::filesystem::path(qv::ToStdString(Folder())));
  QDialog::accept();
}

bool RunWhoisLoggingDialog(QWidget* parent) {
  CWhoisLoggingDialog dialog(parent);
  return dialog.exec() == QDialog::Accepted;
}
