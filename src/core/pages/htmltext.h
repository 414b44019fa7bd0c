// Field text to HTML: rich text goes through the converter, plain text is escaped.
#pragma once

#include <string>

namespace pagolin {

class TParvel;

// The escaping of plain field text: "<" and ">", the characters (c) A-umlaut a-umlaut
// O-umlaut o-umlaut U-umlaut u-umlaut sharp-s (Windows-1252) become their entities, and each
// CR LF pair becomes "<BR>". "&", quotation marks, lone CR or LF and every other byte pass
// unchanged. The same as the eleven replacements in that order, done in one pass.
std::string EscapeHtml(const std::string& text);

// A text whose first character is "{" is handed whole to converter.ConvertRTF, and what the
// converter leaves in the result is returned (the text itself when it is not RTF; the
// converter then shows its message). Any other text is EscapeHtml'd.
std::string HtmlText(TParvel& converter, const std::string& text);

}  // namespace pagolin
