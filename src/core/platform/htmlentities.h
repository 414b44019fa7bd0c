// The HTML entities of Windows-1252 text: one table for the converter, the page builder's
// escaping of plain text and the converter's page title.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// The entity (with "&" and ";") of a byte from 160 to 255; nullptr for any other value.
// 168 gives "&die;", as the pages have always had it.
const char* EntityName(int value);

// Escapes "<", ">" and the letters (c) A-umlaut a-umlaut O-umlaut o-umlaut U-umlaut u-umlaut
// sharp-s with their entities; with crlfAsBreak each CR LF pair becomes "<BR>" as well. "&",
// quotation marks, lone CR or LF and every other byte pass unchanged.
std::string EscapeHtml(std::string_view text, bool crlfAsBreak);

}  // namespace pagolin
