// The small markup language of list cells. A cell text may hold tags between
// "<" and ">"; tags are never drawn:
//
//   "<#!0>"     the list's normal text colour
//   "<#!1>"     "Text Color-1"            "<#!2>"  "Text Color-2"
//   "<#!3>"     yellow background behind the rest of the text
//   "<#RRGGBB>" that colour (six hexadecimal digits)
//   "<#c>"      the symbol c drawn at the current position (it takes no room)
//
// In a selected row every colour tag turns the rest cyan, except "<#!0>",
// which gives the highlight-text colour. Any other tag is dropped. A "<"
// with no ">" after it ends the text.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

namespace qv {

struct MarkupPalette {
  QColor normal;         // "Font Color"
  QColor text1;          // "Text Color-1"
  QColor text2;          // "Text Color-2"
  QColor highlightText;  // the system's highlight-text colour (selected rows)
};

// The colour every coloured tag gives in a selected row.
inline const QColor kSelectedMarkColor = QColor(0, 255, 255);
// The background of "<#!3>" outside selected rows.
inline const QColor kMarkBackground = QColor(255, 255, 0);

// One piece of a cell as it is drawn.
struct MarkupRun {
  enum class Kind { Text, Symbol };
  Kind kind = Kind::Text;
  QString text;
  QColor color;
  bool yellowBackground = false;
};

// The pieces of `text` in drawing order with the colours in force; empty
// pieces are left out.
std::vector<MarkupRun> MarkupRuns(const QString& text, bool selected, const MarkupPalette& palette);

// Draws one cell: single line, vertically centred, each piece cut with an
// ellipsis when it no longer fits. `font` is the list's font.
void DrawMarkupText(QPainter& painter, const QString& text, const QRect& rect, bool selected,
                    const MarkupPalette& palette, const QFont& font);

// The text with the list's marks removed (for searching, copying, export):
// exactly the tags the program writes, and "[{" and "}]".
QString StripMarkup(const QString& text);

// The font and character of the symbol tag: the symbol font's glyphs stand
// in for the old symbol character set.
QFont MarkupSymbolFont();
QString MarkupSymbolGlyph(QChar c);

}  // namespace qv
