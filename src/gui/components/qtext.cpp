#include "gui/components/qtext.h"

#include "core/platform/utf8.h"

namespace pagolin {

QString ToQ(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQ(const QString& text) {
  return Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
}

std::string FromQLines(const QString& text) {
  QString crlf = text;
  crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return FromQ(crlf);
}

QString ToQ(std::u16string_view utf16) {
  return QString(reinterpret_cast<const QChar*>(utf16.data()), static_cast<qsizetype>(utf16.size()));
}

std::u16string FromQUtf16(QStringView text) {
  return std::u16string(text.utf16(), text.utf16() + text.size());
}

}  // namespace pagolin
