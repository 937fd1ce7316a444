#include "platform/text.h"

namespace qv {

// Checked byte by byte: a decoder's result is only computed when it is
// read, and its error flag says nothing before that.
bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    const unsigned char lead = *p++;
    if (lead < 0x80) continue;
    // The continuation bytes a lead byte takes, and the range the first of
    // them must fall in (no overlong forms, no surrogates, nothing past
    // U+10FFFF).
    int more = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (end - p < more || *p < low || *p > high) return false;
    for (++p; --more > 0; ++p)
      if ((*p & 0xC0) != 0x80) return false;
  }
  return true;
}

QString ToQString(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
  return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

std::string ToStdString(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), std::size_t(utf8.size()));
}

}  // namespace qv
