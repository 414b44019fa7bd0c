// A rich text converted as the page builder converts it (colours on, no wrapping), and the
// text a reader of the page sees in it, to compare with the rich text's own.
#pragma once

#include "core/rtf2html/parvel.h"

#include <cctype>
#include <string>

namespace pagolin::test {

inline std::string PageHtml(const std::string& rtf) {
  TParvel parvel;
  parvel.SetOptions({TParvelOption::soUseColors});
  std::string html;
  parvel.ConvertRTF(rtf, html);
  return html;
}

// The ASCII letters and digits of a text, in order.
inline std::string Alnum(const std::string& text) {
  std::string out;
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x80 && std::isalnum(static_cast<unsigned char>(c))) out += c;
  return out;
}

// The ASCII letters and digits of an HTML fragment outside its tags (quoted attribute values
// included) and entity references.
inline std::string HtmlAlnum(const std::string& html) {
  std::string text;
  bool inTag = false, inQuote = false, inEntity = false;
  for (char c : html) {
    if (inTag) {
      if (c == '"')
        inQuote = !inQuote;
      else if (c == '>' && !inQuote)
        inTag = false;
    } else if (inEntity) {
      inEntity = c != ';';
    } else if (c == '<') {
      inTag = true;
    } else if (c == '&') {
      inEntity = true;
    } else {
      text += c;
    }
  }
  return Alnum(text);
}

}  // namespace pagolin::test
