// A rich-text document as a short readable text, so that tests compare whole documents in one
// line: paragraphs are separated by "|"; each starts with "[" + alignment (L, C, R) + "*" for a
// list paragraph + "]"; each run is "<" + format + ">" + its text in UTF-8. The format is the
// face (left out when it is Arial), the size in points, then " b", " i", " u" and " #RRGGBB"
// as set: "[C*]<12 b>bold<Times 10>plain".
#pragma once

#include "core/richtext/richdoc.h"

#include <cstdio>
#include <string>

namespace pagolin::test {

inline std::string Utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t u = text[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      u = 0x10000 + ((u - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (u >> 18));
      out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

inline std::string Describe(const TRunFormat& f) {
  std::string s = f.Face == kDefaultFace ? "" : f.Face + " ";
  s += std::to_string(f.Size);
  if (f.Bold) s += " b";
  if (f.Italic) s += " i";
  if (f.Underline) s += " u";
  if (f.Color) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", f.Color->Red, f.Color->Green, f.Color->Blue);
    s += std::string(" #") + hex;
  }
  return s;
}

inline std::string Describe(const TRichDoc& doc) {
  std::string s;
  for (const TRichParagraph& p : doc.Paragraphs) {
    if (&p != &doc.Paragraphs.front()) s += '|';
    s += '[';
    s += p.Alignment == TParaAlignment::Center ? 'C' : p.Alignment == TParaAlignment::Right ? 'R' : 'L';
    if (p.Bullet) s += '*';
    s += ']';
    for (const TRichRun& run : p.Runs) s += "<" + Describe(run.Format) + ">" + Utf8(run.Text);
  }
  return s;
}

}  // namespace pagolin::test
