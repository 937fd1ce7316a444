// The list's cell markup: which marks are stripped, which pieces are drawn in
// which colour, and what actually lands on the pixels.
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTest>

#include "app/view/markup.h"
#include "support/test_registry.h"
#include "test_view_support.h"

using namespace qv;

namespace {

const QColor kNormal(0, 0, 0);
const QColor kText1(255, 0, 0);
const QColor kText2(0, 0, 255);
const QColor kHighlightText(255, 255, 255);
const QColor kWhite(255, 255, 255);
const QColor kSelectedBack(0, 0, 128);

MarkupPalette Palette() { return {kNormal, kText1, kText2, kHighlightText}; }

QFont TestFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(20);
  font.setBold(true);
  font.setKerning(false);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

QImage Render(const QString& text, bool selected, const MarkupPalette& palette = Palette()) {
  QImage image(240, 32, QImage::Format_RGB32);
  image.fill(selected ? kSelectedBack : kWhite);
  QPainter painter(&image);
  DrawMarkupText(painter, text, image.rect(), selected, palette, TestFont());
  return image;
}

// How many pixels of exactly this colour lie in columns [from, to).
int CountColour(const QImage& image, const QColor& colour, int from, int to) {
  return qvtest::CountColour(image, colour, QRect(from, 0, to - from, image.height()));
}

// Columns [from, to) hold nothing but the background.
bool Blank(const QImage& image, const QColor& background, int from, int to) {
  return CountColour(image, background, from, to) == image.height() * (std::min(to, image.width()) - from);
}

// Where anything but the white background was drawn.
QImage Ink(const QImage& image) {
  QImage mask(image.size(), QImage::Format_Mono);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) mask.setPixel(x, y, image.pixelColor(x, y) == kWhite ? 0 : 1);
  return mask;
}

int Advance(const QString& text) { return QFontMetrics(TestFont()).horizontalAdvance(text); }

// The pieces drawn plainly one after the other in the normal colour.
QImage Plain(const QStringList& pieces) {
  QImage image(240, 32, QImage::Format_RGB32);
  image.fill(kWhite);
  QPainter painter(&image);
  painter.setFont(TestFont());
  painter.setPen(kNormal);
  int left = 0;
  for (const QString& piece : pieces) {
    painter.drawText(QRect(left, 0, 240 - left, 32), Qt::AlignLeft | Qt::AlignVCenter, piece);
    left += Advance(piece);
  }
  return image;
}

}  // namespace

class MarkupTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // Rendered text is checked as text only with a real font behind it.
    const QFontInfo info(TestFont());
    QVERIFY2(info.family().contains(QLatin1String("DejaVu")), qPrintable(info.family()));
    QVERIFY(QFontMetrics(TestFont()).inFont(QLatin1Char('a')));
    QVERIFY(QFontMetrics(MarkupSymbolFont()).inFont(MarkupSymbolGlyph(QLatin1Char('a')).at(0)));
  }

  // The one stripping of marks for the list, its find and its copies.
  void strip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "example.com" << "example.com";
    QTest::newRow("configured colours") << "<#!0>a<#!1>b<#!2>c<#!3>d" << "abcd";
    QTest::newRow("literal colours") << "<#808080>[5] ~<#FF0000>x<#00FF00><#800000><#A0A0A0><#000000><#0000FF><#000080>"
                                     << "[5] ~x";
    QTest::newRow("font tag") << "<font color=\"#FF0000\">Failed" << "Failed";
    QTest::newRow("brackets") << "[{name}]" << "name";
    QTest::newRow("other colours stay") << "<#123456>x" << "<#123456>x";
    QTest::newRow("lower-case hex stays") << "<#ff0000>x" << "<#ff0000>x";
    QTest::newRow("unclosed") << "a<#!1" << "a<#!1";
  }
  void strip() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(StripMarkup(text), expected);
  }

  void runs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QList<QColor>>("colours");
    using C = QList<QColor>;
    const QColor cyan = kSelectedMarkColor;
    QTest::newRow("plain") << "abcd" << false << QStringList{"abcd"} << C{kNormal};
    QTest::newRow("colour 2 then normal") << "<#!2>ab<#!0>cd" << false << QStringList{"ab", "cd"}
                                          << C{kText2, kNormal};
    QTest::newRow("literal") << "<#808080>[5]" << false << QStringList{"[5]"} << C{QColor(128, 128, 128)};
    QTest::newRow("literal lower case") << "<#ff8000>x" << false << QStringList{"x"} << C{QColor(255, 128, 0)};
    QTest::newRow("html tag") << "<font color=\"#FF0000\">ab" << false << QStringList{"ab"} << C{kNormal};
    QTest::newRow("five digits") << "<#12345>ab" << false << QStringList{"ab"} << C{kNormal};
    QTest::newRow("selected plain") << "abcd" << true << QStringList{"abcd"} << C{kHighlightText};
    QTest::newRow("selected literal") << "<#808080>ab" << true << QStringList{"ab"} << C{cyan};
    QTest::newRow("selected background mark") << "<#!3>ab" << true << QStringList{"ab"} << C{cyan};
    QTest::newRow("selected normal mark") << "<#!1>ab<#!0>cd" << true << QStringList{"ab", "cd"}
                                          << C{cyan, kHighlightText};
  }
  void runs() {
    QFETCH(QString, text);
    QFETCH(bool, selected);
    QFETCH(QStringList, pieces);
    QFETCH(QList<QColor>, colours);
    const std::vector<MarkupRun> runs = MarkupRuns(text, selected, Palette());
    QStringList gotPieces;
    QList<QColor> gotColours;
    for (const MarkupRun& run : runs) {
      QCOMPARE(run.kind, MarkupRun::Kind::Text);
      gotPieces << run.text;
      gotColours << run.color;
    }
    QCOMPARE(gotPieces, pieces);
    QCOMPARE(gotColours, colours);
  }

  // The yellow background mark is checked on the pixels below.
  void symbolMark() {
    const std::vector<MarkupRun> runs = MarkupRuns("<#!1><#a>ok", false, Palette());
    QCOMPARE(runs.size(), std::size_t(2));
    QCOMPARE(runs[0].kind, MarkupRun::Kind::Symbol);
    QCOMPARE(runs[0].text, QStringLiteral("a"));
    QCOMPARE(runs[0].color, kText1);
    QCOMPARE(runs[1].text, QStringLiteral("ok"));
  }

  // The colours that land on the pixels of "ab" and of what follows it; an
  // invalid colour on the right means nothing is drawn there.
  void coloursOnPixels_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QColor>("left");
    QTest::addColumn<QColor>("right");
    QTest::addColumn<QColor>("notLeft");
    QTest::addColumn<QColor>("notRight");
    const QColor cyan = kSelectedMarkColor, none;
    QTest::newRow("colour 1") << "ab<#!1>cd" << false << kNormal << kText1 << kText1 << kNormal;
    QTest::newRow("unknown tag") << "ab<foo>cd" << false << kNormal << kNormal << kText1 << kText1;
    QTest::newRow("unclosed tag stops drawing") << "ab<#!1cd" << false << kNormal << none << kText1 << none;
    QTest::newRow("selected colour 1") << "ab<#!1>cd" << true << kHighlightText << cyan << cyan << kText1;
    QTest::newRow("yellow background") << "ab<#!3>cd" << false << kNormal << kMarkBackground << kMarkBackground << none;
  }
  void coloursOnPixels() {
    QFETCH(QString, text);
    QFETCH(bool, selected);
    QFETCH(QColor, left);
    QFETCH(QColor, right);
    QFETCH(QColor, notLeft);
    QFETCH(QColor, notRight);
    const QImage image = Render(text, selected);
    const int split = Advance("ab"), end = image.width();
    QVERIFY(CountColour(image, left, 0, split) > 20);
    QCOMPARE(CountColour(image, notLeft, 0, split), 0);
    QVERIFY(right.isValid() ? CountColour(image, right, split, end) > 20 : Blank(image, kWhite, split, end));
    if (notRight.isValid()) QCOMPARE(CountColour(image, notRight, split, end), 0);
  }

  // The drawn text reads as the text without its tags: it matches the plain
  // pieces drawn one after the other with the same font, and not a text that
  // differs in one letter.
  void renderedTextReadsAsText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QStringList>("wrongPieces");
    QTest::newRow("coloured") << "ab<#!1>cd" << QStringList{"ab", "cd"} << QStringList{"ab", "ce"};
    QTest::newRow("grey number") << "<#808080>[15] ~" << QStringList{"[15] ~"} << QStringList{"[16] ~"};
    QTest::newRow("unknown tag") << "exa<b>mple" << QStringList{"exa", "mple"} << QStringList{"exa", "mpIe"};
  }
  void renderedTextReadsAsText() {
    QFETCH(QString, text);
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, wrongPieces);
    const MarkupPalette black{kNormal, kNormal, kNormal, kNormal};
    const QImage drawn = Render(text, false, black);
    QCOMPARE(Ink(drawn), Ink(Plain(pieces)));
    QVERIFY(Ink(drawn) != Ink(Plain(wrongPieces)));
  }

  void longTextEndsInEllipsis() {
    const QString longText = QString(60, QLatin1Char('w'));
    QCOMPARE(Render(longText, false), Plain({QFontMetrics(TestFont()).elidedText(longText, Qt::ElideRight, 240)}));
  }

  // The symbol is drawn in the symbol font, and the text after it starts
  // where the symbol was drawn.
  void symbolTakesNoRoom() {
    const QImage symbol = Render("<#!1><#a>", false);
    QVERIFY(CountColour(symbol, kWhite, 0, symbol.width()) < symbol.width() * symbol.height() - 20);
    QCOMPARE(CountColour(symbol, kNormal, 0, symbol.width()), 0);
    const QImage letter = Render("x", false);
    const QImage both = Render("<#a>x", false);
    int letterPixels = 0;
    for (int y = 0; y < letter.height(); ++y)
      for (int x = 0; x < letter.width(); ++x)
        if (letter.pixelColor(x, y) == kNormal) {
          ++letterPixels;
          QCOMPARE(both.pixelColor(x, y), kNormal);
        }
    QVERIFY(letterPixels > 10);
    QVERIFY(both != letter);
  }
};

QV_TEST(MarkupTest)
#include "test_markup.moc"
