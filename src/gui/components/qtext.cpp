#include "gui/components/qtext.h"

#include "core/platform/codepage.h"

namespace pagolin {

QString ToQ(std::string_view ansi) {
  QString out;
  out.reserve(static_cast<qsizetype>(ansi.size()));
  for (char c : ansi) out += QChar(static_cast<char16_t>(AnsiCharToUnicode(static_cast<unsigned char>(c))));
  return out;
}

std::string FromQ(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  const std::u32string ucs4 = text.toStdU32String();
  for (char32_t u : ucs4) {
    const int a = UnicodeToAnsiChar(u);
    out += a < 0 ? '?' : static_cast<char>(a);
  }
  return out;
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
