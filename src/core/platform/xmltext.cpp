#include "core/platform/xmltext.h"

#include "core/platform/utf8.h"

namespace pagolin {
namespace {

bool Dropped(char32_t u) {
  if (u < 0x20) return u != '\t' && u != '\n' && u != '\r';
  return (u >= 0x7F && u <= 0x9F) || u == 0xFFFE || u == 0xFFFF;
}

}  // namespace

std::string XmlText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    char32_t u;
    if (!DecodeUtf8(text, i, u)) {
      AppendUtf8(escaped, kReplacementChar);
      continue;
    }
    switch (u) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default:
        if (!Dropped(u)) escaped.append(text.data() + start, i - start);
    }
  }
  return escaped;
}

}  // namespace pagolin
