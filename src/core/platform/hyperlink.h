// Hyperlinks of rich text: the address a field instruction names, and which addresses a page
// may link to.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// The address of a field instruction such as ` HYPERLINK "https://example.com/" ` (also
// unquoted; with `\l "name"`, the place "#name"); "" when the field is no hyperlink.
std::string HyperlinkAddress(std::string_view instruction);

// The address as it is written into a field instruction: a double quote in it becomes "%22".
std::string FieldAddress(std::string_view address);

// Whether a page may link to the address: http, https and mailto addresses and relative ones
// (no scheme at all). Anything else (javascript:, file:, data: ...) is shown as text only.
bool IsLinkableAddress(std::string_view address);

// A text (an address, a title) in an HTML attribute in double quotes: "&", '"', "<" and ">" as
// entities.
std::string HtmlAttribute(std::string_view text);

}  // namespace pagolin
