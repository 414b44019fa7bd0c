#include "core/pages/htmltext.h"

#include "core/rtf2html/parvel.h"

namespace pagolin {

std::string EscapeHtml(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case 169: out += "&copy;"; break;
      case 196: out += "&Auml;"; break;
      case 228: out += "&auml;"; break;
      case 214: out += "&Ouml;"; break;
      case 246: out += "&ouml;"; break;
      case 220: out += "&Uuml;"; break;
      case 252: out += "&uuml;"; break;
      case 223: out += "&szlig;"; break;
      case '\r':
        if (i + 1 < n && text[i + 1] == '\n') {
          out += "<BR>";
          ++i;
        } else {
          out += '\r';
        }
        break;
      default: out += static_cast<char>(c);
    }
  }
  return out;
}

std::string HtmlText(TParvel& converter, const std::string& text) {
  if (text.empty() || text[0] != '{') return EscapeHtml(text);
  std::string html = text;
  converter.ConvertRTF(text, html);
  return html;
}

}  // namespace pagolin
