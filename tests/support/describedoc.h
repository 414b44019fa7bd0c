// A rich-text document as a short readable text, so that tests compare whole documents in one
// line: paragraphs are separated by "|"; each starts with "[" + alignment (L, C, R) + "*" for a
// list paragraph + "]"; each run is "<" + format + ">" + its text in UTF-8. The format is the
// face (left out when it is Arial), the size in points, then " b", " i", " u", " #RRGGBB" and
// " @" + a link's address as set: "[C*]<12 b>bold<Times 10>plain<10 u @https://a.example/>link".
#pragma once

#include "core/platform/utf8.h"
#include "core/richtext/richdoc.h"

#include <cstdio>
#include <string>

namespace pagolin::test {

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
  if (!f.Link.empty()) s += " @" + f.Link;
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
    for (const TRichRun& run : p.Runs) s += "<" + Describe(run.Format) + ">" + Utf16ToUtf8(run.Text);
  }
  return s;
}

}  // namespace pagolin::test
