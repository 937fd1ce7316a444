#include <QTest>

#include "store/name_pad.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace qv;

namespace {
std::string U32(std::uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
  return s;
}
std::string Bytes(const QByteArray& b) { return std::string(b.constData(), std::size_t(b.size())); }
}  // namespace

class NamePadTest : public QObject {
  Q_OBJECT
 private slots:
  void roundTripAllPrefixForms() {
    NamePad pad;
    pad.lists[0].entries = {"example.com", "", std::string(254, 'a'), std::string(255, 'b'),
                            std::string(65533, 'c'), std::string(65534, 'd'), std::string(70000, 'e')};
    pad.lists[0].selected = 3;
    pad.lists[2].entries = {"other.net"};
    pad.lists[2].selected = 0;
    const std::string bytes = EncodeNamePad(pad);
    QCOMPARE(DecodeNamePad(bytes), pad);
    // The prefix forms as they are laid down in the file.
    const std::string head = bytes.substr(0, 8);
    QCOMPARE(head, U32(7) + U32(3));
    QCOMPARE(bytes.substr(8, 12), std::string("\x0b" "example.com"));
    const std::size_t at255 = 8 + 12 + 1 + 255;
    QCOMPARE(bytes.substr(at255, 3), std::string("\xff\xff\x00", 3));
  }

  // Saved in the data folder and read back; a missing file is an empty pad.
  void fileRoundTripInDataFolder() {
    NamePad pad;
    pad.lists[1].entries = {"a.com", "b.org"};
    QVERIFY(SaveNamePad(pad));
    QVERIFY(NamePadPath().string().find(qvtest::TempRoot().toStdString()) == 0);
    QCOMPARE(LoadNamePad(), pad);
    QCOMPARE(LoadNamePad(qvtest::TempPath("nothing-here.txt")), NamePad());
  }

  void damagedFilesReadSafely_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("firstCount");
    QTest::addColumn<int>("firstSelected");
    QTest::addColumn<int>("secondCount");
    const auto B = [](const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); };
    QTest::newRow("empty file") << QByteArray() << 0 << -1 << 0;
    QTest::newRow("count only") << B(U32(2)) << 0 << -1 << 0;
    QTest::newRow("cut inside a string") << B(U32(2) + U32(1) + "\x03" "abc" "\x05" "de") << 1 << -1 << 0;
    QTest::newRow("selected past the end") << B(U32(1) + U32(1) + "\x01" "x") << 1 << -1 << 0;
    QTest::newRow("selected negative") << B(U32(1) + U32(0xFFFFFFFE) + "\x01" "x") << 1 << -1 << 0;
    QTest::newRow("selected kept") << B(U32(2) + U32(1) + "\x01" "x" "\x01" "y") << 2 << 1 << 0;
    QTest::newRow("lying 32-bit length")
        << B(U32(1) + U32(0) + std::string("\xff\xff\xff", 3) + U32(0x7FFFFFFF) + "abc") << 0 << -1 << 0;
    QTest::newRow("lying 16-bit length") << B(U32(1) + U32(0) + std::string("\xff\x00\x10", 3) + "abc") << 0 << -1 << 0;
    QTest::newRow("huge count but few strings") << B(U32(64000) + U32(0) + "\x01" "a") << 1 << 0 << 0;
  }
  void damagedFilesReadSafely() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, firstCount);
    QFETCH(int, firstSelected);
    QFETCH(int, secondCount);
    const NamePad pad = DecodeNamePad(Bytes(bytes));
    QCOMPARE(int(pad.lists[0].entries.size()), firstCount);
    QCOMPARE(pad.lists[0].selected, firstSelected);
    QCOMPARE(int(pad.lists[1].entries.size()), secondCount);
  }

  // A list longer than the file keeps: written cut to the limit; a file of an
  // older writer that holds more is read up to the limit and the next lists
  // are still found behind it.
  void overlongListKeepsTheLimit() {
    NamePad pad;
    for (int i = 0; i < int(kNamePadMaxCount) + 5; ++i) pad.lists[0].entries.push_back("n" + std::to_string(i) + ".com");
    pad.lists[0].selected = int(kNamePadMaxCount) + 2;
    pad.lists[1].entries = {"second.org"};
    const NamePad written = DecodeNamePad(EncodeNamePad(pad));
    QCOMPARE(written.lists[0].entries.size(), std::size_t(kNamePadMaxCount));
    QCOMPARE(written.lists[0].selected, -1);
    QCOMPARE(written.lists[1].entries, pad.lists[1].entries);

    std::string old = U32(kNamePadMaxCount + 5) + U32(0);
    for (const std::string& e : pad.lists[0].entries) old += char(e.size()) + e;
    old += U32(1) + U32(0) + "\x0a" "second.org";
    const NamePad read = DecodeNamePad(old);
    QCOMPARE(read.lists[0].entries.size(), std::size_t(kNamePadMaxCount));
    QCOMPARE(read.lists[0].entries.back(), pad.lists[0].entries[kNamePadMaxCount - 1]);
    QCOMPARE(read.lists[1].entries, pad.lists[1].entries);
  }
};

QV_TEST(NamePadTest)
#include "test_name_pad.moc"
