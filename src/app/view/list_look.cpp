#include "app/view/list_look.h"

#include <QFontMetrics>
#include <cstdlib>

#include "platform/settings_store.h"
#include "platform/text.h"

namespace qv {
namespace {

int ReadColor(std::string_view section, std::string_view key, const QColor& fallback) {
  return GetProfileInt(section, key, ColorValue(fallback));
}

struct FontIntKey {
  const char* key;
  int StoredFont::*member;
};

constexpr FontIntKey kFontIntKeys[] = {
    {"Font lfHeight", &StoredFont::height},
    {"Font lfWidth", &StoredFont::width},
    {"Font lfEscapement", &StoredFont::escapement},
    {"Font lfOrientation", &StoredFont::orientation},
    {"Font lfWeight", &StoredFont::weight},
    {"Font lfItalic", &StoredFont::italic},
    {"Font lfUnderline", &StoredFont::underline},
    {"Font lfStrikeOut", &StoredFont::strikeOut},
    {"Font lfCharSet", &StoredFont::charSet},
    {"Font lfOutPrecision", &StoredFont::outPrecision},
    {"Font lfClipPrecision", &StoredFont::clipPrecision},
    {"Font lfQuality", &StoredFont::quality},
    {"Font lfPitchAndFamily", &StoredFont::pitchAndFamily},
    {"Font Color", &StoredFont::color},
};

}  // namespace

int ColorValue(const QColor& color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }

QColor ColorFromValue(int value) {
  return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

QFont ListLook::Font() const { return ToQFont(font); }
QColor ListLook::FontColor() const { return ColorFromValue(font.color); }

ListLook MainListDefaults() {
  ListLook look;
  look.rowColor1 = QColor(255, 255, 255);
  look.rowColor2 = QColor(255, 220, 200);
  look.rowColor3 = QColor(220, 220, 255);
  look.rowHeightPercent = 150;
  look.textColor1 = QColor(255, 0, 0);
  look.textColor2 = QColor(128, 0, 0);
  look.emptyText = QStringLiteral("No domains in list.");
  return look;
}

ListLook OtherListDefaults() {
  ListLook look = MainListDefaults();
  look.rowColor1 = QColor(240, 255, 255);
  look.rowColor2 = QColor(255, 255, 255);
  look.font.height = -14;
  look.font.weight = 400;
  look.emptyText = QStringLiteral("The list is empty");
  return look;
}

ListLook DefaultsOfSection(std::string_view section) {
  return section == kMainListSection ? MainListDefaults() : OtherListDefaults();
}

ListLook ReadListLook(std::string_view section, const ListLook& defaults) {
  ListLook look = defaults;
  look.rowColor1 = ColorFromValue(ReadColor(section, "Row Color-1", defaults.rowColor1));
  look.rowColor2 = ColorFromValue(ReadColor(section, "Row Color-2", defaults.rowColor2));
  look.rowColor3 = ColorFromValue(ReadColor(section, "Row Color-3", defaults.rowColor3));
  look.rowHeightPercent = GetProfileInt(section, "Row Height", defaults.rowHeightPercent);
  look.textColor1 = ColorFromValue(ReadColor(section, "Text Color-1", defaults.textColor1));
  look.textColor2 = ColorFromValue(ReadColor(section, "Text Color-2", defaults.textColor2));
  for (const FontIntKey& k : kFontIntKeys)
    look.font.*k.member = GetProfileInt(section, k.key, defaults.font.*k.member);
  look.font.faceName = GetProfileString(section, "Font lfFaceName", defaults.font.faceName);
  if (look.font.faceName.empty()) look.font.faceName = defaults.font.faceName;
  return look;
}

ListLook ReadListLook(std::string_view section) {
  return ReadListLook(section, DefaultsOfSection(section));
}

void WriteListLook(std::string_view section, const ListLook& look) {
  SettingsBatch batch = SettingsBatch::Profile();
  batch.SetInt(section, "Row Color-1", ColorValue(look.rowColor1))
      .SetInt(section, "Row Color-2", ColorValue(look.rowColor2))
      .SetInt(section, "Row Color-3", ColorValue(look.rowColor3))
      .SetInt(section, "Row Height", look.rowHeightPercent)
      .SetInt(section, "Text Color-1", ColorValue(look.textColor1))
      .SetInt(section, "Text Color-2", ColorValue(look.textColor2));
  for (const FontIntKey& k : kFontIntKeys) batch.SetInt(section, k.key, look.font.*k.member);
  batch.SetString(section, "Font lfFaceName", look.font.faceName).Commit();
}

QFont ToQFont(const StoredFont& stored) {
  QFont font(ToQString(stored.faceName));
  // A negative height is the character height; a positive one the cell height,
  // of which the character takes about four fifths.
  if (stored.height < 0) font.setPixelSize(-stored.height);
  else if (stored.height > 0) font.setPixelSize(std::max(1, stored.height * 4 / 5));
  if (stored.weight > 0) font.setWeight(QFont::Weight(std::clamp(stored.weight, 1, 1000)));
  font.setItalic(stored.italic != 0);
  font.setUnderline(stored.underline != 0);
  font.setStrikeOut(stored.strikeOut != 0);
  return font;
}

StoredFont FromQFont(const QFont& font, StoredFont base) {
  base.faceName = ToStdString(font.family());
  if (font.pixelSize() > 0) base.height = -font.pixelSize();
  else if (font.pointSizeF() > 0) base.height = -int(font.pointSizeF() * 96.0 / 72.0 + 0.5);
  base.weight = font.weight();
  base.italic = font.italic() ? 1 : 0;
  base.underline = font.underline() ? 1 : 0;
  base.strikeOut = font.strikeOut() ? 1 : 0;
  return base;
}

int RowHeightPixels(const QFont& font, int percent) {
  const QFontMetrics metrics(font);
  const int text = metrics.height() + metrics.leading() + 1;
  return std::max(1, text * percent / 100);
}

}  // namespace qv
