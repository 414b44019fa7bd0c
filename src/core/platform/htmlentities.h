// The HTML entities of the Latin-1 letters: one table for the converter, the page builder's
// escaping of plain text and the converter's page title.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// The entity (with "&" and ";") of a code point (or Windows-1252 byte) from 160 to 255;
// nullptr for any other value.
// 168 gives "&die;", as the pages have always had it.
const char* EntityName(int value);

// Escapes "<", ">" and the letters (c) A-umlaut a-umlaut O-umlaut o-umlaut U-umlaut u-umlaut
// sharp-s of UTF-8 text with their entities; with crlfAsBreak each CR LF pair becomes "<BR>"
// as well. "&", quotation marks, lone CR or LF and every other character pass unchanged.
std::string EscapeHtml(std::string_view text, bool crlfAsBreak);

}  // namespace pagolin
