#include "core/platform/htmlentities.h"

#include <array>

namespace pagolin {
namespace {

constexpr std::array<const char*, 96> kEntities = {
    "&nbsp;",   "&iexcl;",  "&cent;",   "&pound;",  "&curren;", "&yen;",    "&brvbar;", "&sect;",
    "&die;",    "&copy;",   "&ordf;",   "&laquo;",  "&not;",    "&shy;",    "&reg;",    "&macr;",
    "&deg;",    "&plusmn;", "&sup2;",   "&sup3;",   "&acute;",  "&micro;",  "&para;",   "&middot;",
    "&cedil;",  "&sup1;",   "&ordm;",   "&raquo;",  "&frac14;", "&frac12;", "&frac34;", "&iquest;",
    "&Agrave;", "&Aacute;", "&Acirc;",  "&Atilde;", "&Auml;",   "&Aring;",  "&AElig;",  "&Ccedil;",
    "&Egrave;", "&Eacute;", "&Ecirc;",  "&Euml;",   "&Igrave;", "&Iacute;", "&Icirc;",  "&Iuml;",
    "&ETH;",    "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;",  "&Otilde;", "&Ouml;",   "&times;",
    "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;",  "&Uuml;",   "&Yacute;", "&THORN;",  "&szlig;",
    "&agrave;", "&aacute;", "&acirc;",  "&atilde;", "&auml;",   "&aring;",  "&aelig;",  "&ccedil;",
    "&egrave;", "&eacute;", "&ecirc;",  "&euml;",   "&igrave;", "&iacute;", "&icirc;",  "&iuml;",
    "&eth;",    "&ntilde;", "&ograve;", "&oacute;", "&ocirc;",  "&otilde;", "&ouml;",   "&divide;",
    "&oslash;", "&ugrave;", "&uacute;", "&ucirc;",  "&uuml;",   "&yacute;", "&thorn;",  "&yuml;",
};

}  // namespace

const char* EntityName(int value) {
  if (value < 160 || value > 255) return nullptr;
  return kEntities[static_cast<std::size_t>(value - 160)];
}

std::string EscapeHtml(std::string_view text, bool crlfAsBreak) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case 0xC2:
      case 0xC3: {
        // The eight letters with an entity all lie in U+00A0..U+00FF: two bytes in UTF-8.
        const unsigned next = i + 1 < n ? static_cast<unsigned char>(text[i + 1]) : 0u;
        const unsigned u = ((c & 0x1Fu) << 6) | (next & 0x3Fu);
        if ((next & 0xC0) == 0x80 &&
            (u == 169 || u == 196 || u == 228 || u == 214 || u == 246 || u == 220 || u == 252 || u == 223)) {
          out += EntityName(static_cast<int>(u));
          ++i;
        } else {
          out += static_cast<char>(c);
        }
        break;
      }
      case '\r':
        if (crlfAsBreak && i + 1 < n && text[i + 1] == '\n') {
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

}  // namespace pagolin
