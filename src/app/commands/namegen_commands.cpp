#include "app/commands/namegen_commands.h"

#include <QPlainTextEdit>

#include "app/commands/file_commands.h"
#include "app/commands/import_commands.h"
#include "app/dialogs/create_domain_names_dialog.h"
#include "app/dialogs/domain_name_filter_dialog.h"
#include "app/dialogs/keyword_names_dialog.h"
#include "app/dialogs/template_names_dialog.h"
#include "app/main_frame.h"
#include "namegen/name_emitter.h"
#include "platform/text.h"

namespace qv {

void AddGeneratedNames(CMainFrame& frame, const std::vector<std::string>& names, std::size_t tooLong) {
  QString trouble;
  if (!names.empty()) {
    const AddNamesReport report = AddNamesWithProgress(frame.Document().Database(), names, &frame);
    if (!report.error.empty() || report.refused > 0) trouble = AddNamesReportText(report);
  }
  if (tooLong > 0) {
    if (!trouble.isEmpty()) trouble += QStringLiteral("\r\n");
    trouble += ToQString(TooLongNamesText(tooLong));
  }
  if (!trouble.isEmpty()) frame.UserPrompts().tell(&frame, trouble);
}

void RunNamesFromKeywords(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  CKeywordNamesDialog dialog(&frame);
  dialog.prompts = frame.UserPrompts();
  if (dialog.exec() != QDialog::Accepted || !frame.Document().IsOpen()) return;
  AddGeneratedNames(frame, dialog.Names(), dialog.TooLong());
}

void RunNamesFromTemplates(CMainFrame& frame) {
  if (!RequireDatabase(frame)) return;
  CTemplateNamesDialog dialog(&frame);
  dialog.prompts = frame.UserPrompts();
  if (dialog.exec() != QDialog::Accepted || !frame.Document().IsOpen()) return;
  AddGeneratedNames(frame, dialog.ExportNames(), dialog.TooLong());
}

void RunDomainNameFilter(CMainFrame& frame) {
  CDomainNameFilterDialog dialog(&frame);
  CMainFrame* f = &frame;
  dialog.prompts = frame.UserPrompts();
  dialog.requireDocument = [f] { return RequireDatabase(*f); };
  dialog.addNames = [f](const std::vector<std::string>& names) { AddGeneratedNames(*f, names); };
  dialog.createNames = [f, &dialog](const std::vector<std::string>& words) {
    CCreateDomainNamesDialog create(&dialog);
    create.prompts = f->UserPrompts();
    QString text;
    for (const std::string& word : words) text += ToQString(word) + QLatin1Char('\n');
    create.TextBox()->setPlainText(text);
    return create.exec() == QDialog::Accepted ? create.Names() : std::vector<std::string>{};
  };
  dialog.exec();
}

}  // namespace qv
