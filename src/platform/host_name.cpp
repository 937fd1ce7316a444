#include "platform/host_name.h"

#include <QString>
#include <QUrl>

#include "platform/text.h"

namespace qv {
namespace {

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) > 0x7F) return false;
  return true;
}

bool IsLabelChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

bool IsLabel(std::string_view label) {
  if (label.empty() || label.size() > kMaxHostLabelLength) return false;
  if (label.front() == '-' || label.back() == '-') return false;
  for (char c : label)
    if (!IsLabelChar(c)) return false;
  return true;
}

}  // namespace

std::string AceHostName(std::string_view name) {
  if (IsAscii(name)) return std::string(name);
  if (!IsValidUtf8(name)) return {};
  const QByteArray ace = QUrl::toAce(QString::fromUtf8(name.data(), qsizetype(name.size())));
  return std::string(ace.constData(), std::size_t(ace.size()));
}

std::string UnicodeHostName(std::string_view name) {
  if (!IsAscii(name) || name.find("xn--") == std::string_view::npos) return {};
  const QString unicode = QUrl::fromAce(QByteArray(name.data(), qsizetype(name.size())));
  const QByteArray utf8 = unicode.toUtf8();
  // Qt gives the name back unchanged when a label does not decode.
  if (utf8.size() == qsizetype(name.size()) && std::string_view(utf8.constData(), name.size()) == name) return {};
  return std::string(utf8.constData(), std::size_t(utf8.size()));
}

std::string OtherIdnForm(std::string_view name) {
  if (!IsAscii(name)) {
    const std::string ace = AceHostName(name);
    return ace == name ? std::string() : ace;
  }
  return UnicodeHostName(name);
}

bool IsAsciiHostName(std::string_view name, int minLabels) {
  int labels = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = name.find('.', start);
    const std::string_view label =
        name.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (!IsLabel(label)) return false;
    ++labels;
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return labels >= minLabels;
}

}  // namespace qv
