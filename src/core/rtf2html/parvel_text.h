// Character mappings of the converter: Latin-1 entity names, integer parameters of control
// words, colour components. Internal to rtf2html.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/htmlentities.h"

namespace pagolin::parvel {

// The HTML entity of a code point (or Windows-1252 byte) from 160 to 255 (183 gives "&middot;", which the
// caller drops inside a bullet list).
using pagolin::EntityName;

// A control word's parameter as a 32-bit integer: an optional "-" and decimal digits, in range.
// Anything else is not an integer (std::nullopt), and the caller uses its fixed value instead.
std::optional<std::int32_t> ParseInt(std::string_view text);

// A colour component as the colour table stores it: uppercase hex of the 32-bit value (a
// negative value in two's complement), at least two digits.
std::string ColorComponent(std::int32_t value);

// Converted text back as plain UTF-8: "&amp;", "&lt;", "&gt;", "&quot;", numeric references
// and the Latin-1 entity names become their characters.
std::string UnescapeHtml(std::string_view html);

}  // namespace pagolin::parvel
