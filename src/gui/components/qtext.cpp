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

}  // namespace pagolin
