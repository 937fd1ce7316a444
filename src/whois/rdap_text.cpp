#include "whois/rdap_text.h"

#include <QString>

#include "platform/ascii.h"

namespace qv::rdaptext {
namespace {

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The white space of QChar::isSpace among the ASCII characters.
constexpr bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view TrimAscii(std::string_view text) {
  while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
  return text;
}

QString Unicode(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

std::string Trimmed(std::string_view text) {
  if (IsAscii(text)) return std::string(TrimAscii(text));
  return Unicode(text).trimmed().toStdString();
}

std::string Lower(std::string_view text) {
  if (IsAscii(text)) return ToLowerAscii(text);
  return Unicode(text).toLower().toStdString();
}

std::string EmailAddress(std::string_view text) {
  constexpr std::string_view kScheme = "mailto:";
  if (IsAscii(text)) {
    if (EqualsNoCase(text.substr(0, kScheme.size()), kScheme)) text.remove_prefix(kScheme.size());
    return ToLowerAscii(TrimAscii(text));
  }
  QString address = Unicode(text);
  if (address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) address = address.mid(7);
  return address.trimmed().toLower().toStdString();
}

bool SameText(std::string_view text, std::string_view ascii) {
  if (IsAscii(text)) return EqualsNoCase(TrimAscii(text), ascii);
  return Unicode(text).trimmed().compare(QLatin1String(ascii.data(), qsizetype(ascii.size())),
                                         Qt::CaseInsensitive) == 0;
}

bool StartsWithNoCase(std::string_view text, std::string_view ascii) {
  if (IsAscii(text)) return EqualsNoCase(text.substr(0, ascii.size()), ascii);
  return Unicode(text).startsWith(QLatin1String(ascii.data(), qsizetype(ascii.size())),
                                  Qt::CaseInsensitive);
}

}  // namespace qv::rdaptext
