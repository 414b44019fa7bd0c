// The control words the RTF reader acts on, by meaning. Internal to richtext.
#pragma once

#include <cstdint>
#include <string_view>

namespace pagolin::rtf {

enum class TWord : std::uint8_t {
  Unknown,
  // Destinations that are read.
  FontTable,
  ColorTable,
  ListProps,         // \pn: the list properties of the paragraph
  TableProps,        // \nesttableprops: read for its \nestrow
  FieldInstruction,  // \fldinst: read for a hyperlink's address
  FieldResult,       // \fldrslt: the text a field shows
  // Destinations skipped whole, with or without \*.
  SkippedDestination,
  // Document and character properties.
  DefaultFont,  // \deff
  Plain,
  Bold,
  Italic,
  Underline,  // \ul and its kinds (dotted, double, word, ...)
  UnderlineNone,
  Font,
  FontSize,
  Color,
  Hidden,
  // Paragraph properties.
  ParagraphDefault,  // \pard
  AlignLeft,
  AlignCenter,
  AlignRight,
  AlignJustify,
  InTable,
  ListLevel,   // \pnlvlblt, \pnlvlbody, \pnlvlN inside \pn
  ListNumber,  // \ls
  // Breaks.
  Paragraph,  // \par, \line
  SoftBreak,  // \page, \sect, \column: a paragraph break unless the paragraph is empty
  Cell,       // \cell, \nestcell
  Row,        // \row, \nestrow
  // Characters.
  Tab,
  LeftQuote,
  RightQuote,
  LeftDoubleQuote,
  RightDoubleQuote,
  EmDash,
  EnDash,
  BulletChar,
  Space,        // \emspace, \enspace, \qmspace
  Unicode,      // \u
  UnicodeSkip,  // \uc
  Binary,       // \bin
};

// The meaning of a control word's letters (without backslash and parameter).
TWord LookupWord(std::string_view letters);

}  // namespace pagolin::rtf
