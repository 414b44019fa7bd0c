// Percent-encoding of the bytes of an address's path (RFC 3986): what may not stand as it is
// becomes %XX with upper-case hex digits.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// Every byte but the unreserved ones (letters, digits, "-", ".", "_", "~") and those in kept
// as %XX. With keepEscapes a "%" that already starts an escape (two hex digits) stays.
std::string PercentEncode(std::string_view bytes, std::string_view kept, bool keepEscapes = false);

}  // namespace pagolin
