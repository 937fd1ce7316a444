#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include "app/program_icon.h"
#include "support/test_registry.h"

const QString kDataFolder = QStringLiteral(QV_TEST_DATA_DIR "/../../data");

class ProgramIconTest : public QObject {
  Q_OBJECT
 private slots:
  void windowsShowTheMenuEntrysIcon_data() {
    QTest::addColumn<int>("size");
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) QTest::addRow("%dpx", size) << size;
  }

  // The icon built into the program is the one installed for the menu entry,
  // in every size of the icon theme.
  void windowsShowTheMenuEntrysIcon() {
    QFETCH(int, size);
    qv::ShowProgramIdentity();
    const QImage shown = QGuiApplication::windowIcon().pixmap(QSize(size, size)).toImage();
    const QImage installed(kDataFolder + QStringLiteral("/icons/hicolor/%1x%1/apps/quorvel.png").arg(size));
    QVERIFY(!installed.isNull());
    QCOMPARE(shown.size(), installed.size());
    QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
             installed.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }

  // Docks and Wayland compositors find the menu entry by this name.
  void desktopEntryNameIsTheInstalledEntry() {
    qv::ShowProgramIdentity();
    QVERIFY(QFile::exists(kDataFolder + QLatin1Char('/') + QGuiApplication::desktopFileName() +
                          QStringLiteral(".desktop")));
  }
};

QV_TEST(ProgramIconTest)
#include "test_program_icon.moc"
