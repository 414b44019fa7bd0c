// Field text to HTML: rich text goes through the converter, plain text is escaped.
#pragma once

#include <string>

namespace pagolin {

class TParvel;

// A text whose first character is "{" is handed whole to converter.ConvertRTF, and what the
// converter leaves in the result is returned (the text itself when it is not RTF; the
// converter then shows its message). Any other text is escaped with EscapeHtml, each CR LF
// pair becoming "<BR>".
std::string HtmlText(TParvel& converter, const std::string& text);

}  // namespace pagolin
