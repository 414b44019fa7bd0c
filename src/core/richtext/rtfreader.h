// The RTF reader: rich text as the rich editor, word processors and document converters write
// it, into a TRichDoc.
//
// What it keeps: text (hex escapes read as Windows-1252 in either case, \u with its fallback
// count \uc, the quote and dash words, \bullet, \~, \tab), fonts by name, sizes, bold, italic,
// underline, colours from the colour table, the alignment of paragraphs (justified reads as
// left) and list paragraphs, in the \pn and in the \ls form (every list reads as a bullet list;
// a paragraph that starts with \bullet and a tab reads as a list paragraph too). \par, \line
// and a backslash before a line end each end a paragraph; table cells and rows (also nested)
// become tabs and paragraph breaks, so that the words of neighbouring cells never run together.
// Hyperlink fields give runs with the link's address (other fields: their result as text).
// Unescaped text is UTF-8, as the core keeps it (a byte that starts no UTF-8 character reads
// as Windows-1252, as in RTF files from elsewhere).
// What it drops: hidden text, footnotes, other field instructions, the
// rendered list markers, and every destination it does not know: those marked with \* and the
// document information, style sheets, pictures, headers and footers and the like.
//
// The reader never fails: any byte sequence gives a document (malformed RTF gives the text it
// could read), in time linear in the input, with the group nesting kept on the heap.
#pragma once

#include "core/richtext/richdoc.h"

#include <string_view>

namespace pagolin {

// A text is RTF when it starts with "{\rtf".
bool IsRtf(std::string_view text);

TRichDoc ReadRtf(std::string_view rtf);

// A stored rich text: RTF is read, any other text (plain text, or one that merely starts with
// "{") is taken as plain text.
TRichDoc ReadStoredText(std::string_view text);

}  // namespace pagolin
