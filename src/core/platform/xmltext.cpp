#include "core/platform/xmltext.h"

#include "core/platform/codepage.h"

namespace pagolin {
namespace {

bool Dropped(unsigned char c) {
  if (c < 0x20) return c != '\t' && c != '\n' && c != '\r';
  return c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

}  // namespace

std::string XmlText(std::string_view ansi) {
  std::string escaped;
  escaped.reserve(ansi.size() + ansi.size() / 8);
  for (char ch : ansi) {
    switch (ch) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default:
        if (!Dropped(static_cast<unsigned char>(ch))) escaped += ch;
    }
  }
  return AnsiToUtf8(escaped);
}

}  // namespace pagolin
