// Text as XML: the program's texts go into feeds and the sitemap through here.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// The text as UTF-8 XML character data, also fit for an attribute value in double quotes:
// "&", "<", ">" and '"' become entities, and the characters XML 1.0 forbids or a reader may
// refuse are dropped (the control characters below the blank except tab, LF and CR; DEL and
// the C1 controls; U+FFFE and U+FFFF). Every other character stays itself; a broken UTF-8
// piece becomes U+FFFD.
std::string XmlText(std::string_view text);

}  // namespace pagolin
