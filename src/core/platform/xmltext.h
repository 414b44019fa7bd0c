// Windows-1252 text as XML: the program's texts go into feeds and the sitemap through here.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// The text as UTF-8 XML character data, also fit for an attribute value in double quotes:
// "&", "<", ">" and '"' become entities, and the characters XML 1.0 forbids or a reader may
// refuse are dropped (the control characters below the blank except tab, LF and CR; DEL; the
// five bytes Windows-1252 leaves undefined, which stand for C1 controls). Every other byte
// becomes its Unicode character.
std::string XmlText(std::string_view ansi);

}  // namespace pagolin
