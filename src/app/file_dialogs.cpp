#include "app/file_dialogs.h"

#include <QAbstractFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>

namespace qv {
namespace {

// Icons and type names from the file name only.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
 public:
  QIcon icon(IconType type) const override { return QAbstractFileIconProvider::icon(type); }

  QIcon icon(const QFileInfo& info) const override {
    if (info.isDir()) return icon(Folder);
    const QIcon themed = QIcon::fromTheme(MimeOf(info).iconName());
    return themed.isNull() ? icon(File) : themed;
  }

  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return QObject::tr("Folder");
    const QMimeType mime = MimeOf(info);
    if (!mime.isDefault()) return mime.comment();
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QObject::tr("File") : QObject::tr("%1 File").arg(suffix.toUpper());
  }

 private:
  static QMimeType MimeOf(const QFileInfo& info) {
    static const QMimeDatabase db;
    return db.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
  }
};

QAbstractFileIconProvider* SharedProvider() {
  static NameOnlyIconProvider provider;
  return &provider;
}

QString Chosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

}  // namespace

std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, const QString& title, const QString& filter,
                                            QFileDialog::FileMode mode, QFileDialog::AcceptMode accept,
                                            const QString& defaultSuffix) {
  auto dialog = std::make_unique<QFileDialog>(parent, title, QString(), filter);
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setOption(QFileDialog::DontUseCustomDirectoryIcons, true);
  dialog->setIconProvider(SharedProvider());
  dialog->setFileMode(mode);
  dialog->setAcceptMode(accept);
  if (mode == QFileDialog::Directory) dialog->setOption(QFileDialog::ShowDirsOnly, true);
  if (!defaultSuffix.isEmpty()) dialog->setDefaultSuffix(defaultSuffix);
  return dialog;
}

QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter) {
  auto dialog = MakeFileDialog(parent, title, filter, QFileDialog::ExistingFile, QFileDialog::AcceptOpen);
  return Chosen(*dialog);
}

QString ChooseFileToSave(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultSuffix) {
  auto dialog =
      MakeFileDialog(parent, title, filter, QFileDialog::AnyFile, QFileDialog::AcceptSave, defaultSuffix);
  return Chosen(*dialog);
}

QString ChooseFolder(QWidget* parent, const QString& title, const QString& start) {
  auto dialog = MakeFileDialog(parent, title, {}, QFileDialog::Directory, QFileDialog::AcceptOpen);
  dialog->setDirectory(start);
  return Chosen(*dialog);
}

}  // namespace qv
