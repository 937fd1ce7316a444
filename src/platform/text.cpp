#include "platform/text.h"

#include <QStringDecoder>

namespace qv {

bool IsValidUtf8(std::string_view bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  (void)decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  return !decoder.hasError();
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
