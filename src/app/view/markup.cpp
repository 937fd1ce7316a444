#include "app/view/markup.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/text.h"
#include "store/find_domain.h"

namespace qv {
namespace {

struct DrawState {
  QColor color;
  bool yellowBackground = false;
};

bool IsHexDigit(QChar c) {
  return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
         (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
         (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

bool IsLiteralColour(const QString& tag) {
  if (tag.size() != 7 || tag[0] != QLatin1Char('#')) return false;
  for (int i = 1; i < 7; ++i)
    if (!IsHexDigit(tag[i])) return false;
  return true;
}

// Applies one tag (the text between "<" and ">"); a symbol tag adds its run.
void ApplyTag(const QString& tag, bool selected, const MarkupPalette& palette, DrawState& state,
              std::vector<MarkupRun>& runs) {
  if (tag == QLatin1String("#!0")) {
    state.color = selected ? palette.highlightText : palette.normal;
  } else if (tag == QLatin1String("#!1")) {
    state.color = selected ? kSelectedMarkColor : palette.text1;
  } else if (tag == QLatin1String("#!2")) {
    state.color = selected ? kSelectedMarkColor : palette.text2;
  } else if (tag == QLatin1String("#!3")) {
    if (selected) state.color = kSelectedMarkColor;
    else state.yellowBackground = true;
  } else if (IsLiteralColour(tag)) {
    const uint rgb = tag.mid(1).toUInt(nullptr, 16);
    state.color = selected ? kSelectedMarkColor : QColor((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
  } else if (tag.size() == 2 && tag[0] == QLatin1Char('#')) {
    runs.push_back({MarkupRun::Kind::Symbol, QString(tag[1]), state.color, false});
  }
}

}  // namespace

std::vector<MarkupRun> MarkupRuns(const QString& text, bool selected, const MarkupPalette& palette) {
  std::vector<MarkupRun> runs;
  DrawState state{selected ? palette.highlightText : palette.normal, false};
  qsizetype pos = 0;
  while (pos < text.size()) {
    const qsizetype open = text.indexOf(QLatin1Char('<'), pos);
    const QString plain = text.mid(pos, open < 0 ? -1 : open - pos);
    if (!plain.isEmpty()) runs.push_back({MarkupRun::Kind::Text, plain, state.color, state.yellowBackground});
    if (open < 0) break;
    const qsizetype close = text.indexOf(QLatin1Char('>'), open + 1);
    if (close < 0) break;
    ApplyTag(text.mid(open + 1, close - open - 1), selected, palette, state, runs);
    pos = close + 1;
  }
  return runs;
}

void DrawMarkupText(QPainter& painter, const QString& text, const QRect& rect, bool selected,
                    const MarkupPalette& palette, const QFont& font) {
  if (text.isEmpty()) return;
  painter.save();
  painter.setFont(font);
  const QFontMetrics metrics(font);
  int left = rect.left();
  for (const MarkupRun& run : MarkupRuns(text, selected, palette)) {
    if (left > rect.right()) break;
    const QRect room(left, rect.top(), rect.right() - left + 1, rect.height());
    if (run.kind == MarkupRun::Kind::Symbol) {
      painter.setFont(MarkupSymbolFont());
      painter.setPen(run.color);
      painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       MarkupSymbolGlyph(run.text.at(0)));
      painter.setFont(font);
      continue;
    }
    const QString shown = metrics.elidedText(run.text, Qt::ElideRight, room.width());
    if (run.yellowBackground) {
      const int width = std::min(metrics.horizontalAdvance(shown), room.width());
      const int top = room.top() + (room.height() - metrics.height()) / 2;
      painter.fillRect(QRect(left, top, width, metrics.height()), kMarkBackground);
    }
    painter.setPen(run.color);
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    left += metrics.horizontalAdvance(run.text);
  }
  painter.restore();
}

QString StripMarkup(const QString& text) { return ToQString(StripListMarkup(ToStdString(text))); }

QFont MarkupSymbolFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(18);
  font.setWeight(QFont::Normal);
  return font;
}

// The symbols of the old symbol set that have a Unicode counterpart in the
// symbol font; any other character is drawn as itself.
QString MarkupSymbolGlyph(QChar c) {
  struct Pair {
    char from;
    char16_t to;
  };
  static constexpr Pair kGlyphs[] = {
      {'3', u'\u25C0'}, {'4', u'\u25B6'}, {'5', u'\u25B2'}, {'6', u'\u25BC'},
      {'<', u'\u25A0'}, {'=', u'\u25CF'}, {'a', u'\u2714'}, {'g', u'\u25A0'},
      {'i', u'\u2139'}, {'n', u'\u25A0'}, {'r', u'\u2716'}, {'x', u'\u2716'},
      {'Y', u'\u2605'}, {'~', u'\u2691'},
  };
  for (const Pair& p : kGlyphs)
    if (c == QLatin1Char(p.from)) return QString(QChar(p.to));
  return QString(c);
}

}  // namespace qv
