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

// The same for a text shown apart from the page (a news feed's entry): converted by a converter
// of its own with the page's options, so that the result depends on this text alone (the
// page's converter carries a colour from one text to the next). A text that begins with "{"
// but is not RTF comes back as it is, without the converter's message, which the page's
// conversion of the same text has shown.
std::string HtmlTextOnItsOwn(const std::string& text);

}  // namespace pagolin
