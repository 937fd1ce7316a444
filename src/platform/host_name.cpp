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
