// The look of a list (CBigListView): row colours, the row height, the two
// marked text colours and the font with its colour, kept in a settings
// section of the list's own ("Domain List" for the main list).
//
// Colours are stored as one integer with red in the low byte, then green,
// then blue. The font is stored one key per attribute, in the form the
// settings have always used ("Font lfHeight" is the negated pixel height).
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string>
#include <string_view>

namespace qv {

inline constexpr const char* kMainListSection = "Domain List";
inline constexpr const char* kDefaultListSection = "Default List Box";

struct StoredFont {
  int height = -12;  // "Font lfHeight": negative = character height in pixels
  int width = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = 800;  // 100..900
  int italic = 0;
  int underline = 0;
  int strikeOut = 0;
  int charSet = 0;
  int outPrecision = 0;
  int clipPrecision = 0;
  int quality = 0;
  int pitchAndFamily = 0;
  std::string faceName = "Arial";
  int color = 0;  // "Font Color": the normal text colour

  bool operator==(const StoredFont&) const = default;
};

struct ListLook {
  QColor rowColor1;  // odd rows (second, fourth, ...)
  QColor rowColor2;  // even rows (first, third, ...)
  QColor rowColor3;  // rows in the view's marked set
  int rowHeightPercent = 150;
  QColor textColor1;  // "<#!1>"
  QColor textColor2;  // "<#!2>"
  StoredFont font;
  QString emptyText;

  QFont Font() const;
  QColor FontColor() const;
};

// Colour values as stored.
int ColorValue(const QColor& color);
QColor ColorFromValue(int value);

// The defaults of the main list and of every other list.
ListLook MainListDefaults();
ListLook OtherListDefaults();
// The defaults of a section: the main list's for "Domain List", else the others'.
ListLook DefaultsOfSection(std::string_view section);

// The look stored in `section`, each missing key taken from `defaults`.
ListLook ReadListLook(std::string_view section, const ListLook& defaults);
ListLook ReadListLook(std::string_view section);
// Writes the colours, the row height and every font key.
void WriteListLook(std::string_view section, const ListLook& look);

QFont ToQFont(const StoredFont& stored);
// A font chosen in a font dialog, keeping the attributes Qt has no word for.
StoredFont FromQFont(const QFont& font, StoredFont base);

// (text height + external leading + 1) x percent / 100, in whole pixels.
int RowHeightPixels(const QFont& font, int percent);

}  // namespace qv
