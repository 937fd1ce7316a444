#include "app/commands/copy_commands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/commands/list_rows.h"
#include "app/main_frame.h"
#include "app/progress.h"

namespace qv {
namespace {

void ToClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void CopyRows(CMainFrame& frame, const QStringList& names) {
  if (!frame.Document().IsOpen()) return;
  const TableSource source = TableOfNames(frame.Document().Database(), names, ShownColumns(frame),
                                          CellTextContext::FromSettings());
  ProgressWindow window(&frame, QString::fromLatin1(kPreparingDataTitle));
  const QString text = BuildTableText(source, TableTextForm::Tabs,
                                      [&window](int done, int total) { return window.Advance(done, total); });
  if (!text.isNull()) ToClipboard(text);
}

}  // namespace

QString NamesClipboardText(const QStringList& names) {
  QString text;
  for (QString name : names) {
    name.remove(QLatin1Char('\t'));
    text += name;
    text += QLatin1String("\r\n");
  }
  return text;
}

void RunCopySelectedNames(CMainFrame& frame) { ToClipboard(NamesClipboardText(frame.SelectedNames())); }

void RunCopyAllNames(CMainFrame& frame) {
  if (!frame.Document().IsOpen()) return;
  ToClipboard(NamesClipboardText(AllListNames(frame)));
}

void RunCopySelectedRows(CMainFrame& frame) { CopyRows(frame, frame.SelectedNames()); }

void RunCopyFullTable(CMainFrame& frame) { CopyRows(frame, AllListNames(frame)); }

void RunCopyAvailableNames(CMainFrame& frame) {
  if (!frame.Document().IsOpen()) return;
  bool cancelled = false;
  const QStringList names = AvailableNames(frame.Document().Database(), AllListNames(frame), &frame, cancelled);
  if (!cancelled) ToClipboard(NamesClipboardText(names));
}

}  // namespace qv
