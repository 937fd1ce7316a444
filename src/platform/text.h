// Conversions between the byte strings the domain logic works on and the
// QStrings of Qt. Text is UTF-8 where it is valid; other bytes are read as
// Latin-1 so nothing is lost on the way in.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qv {

QString ToQString(std::string_view bytes);
std::string ToStdString(const QString& text);
bool IsValidUtf8(std::string_view bytes);

}  // namespace qv
