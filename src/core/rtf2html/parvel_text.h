// Character mappings of the converter: Latin-1 entity names, integer parameters of control
// words, colour components. Internal to rtf2html.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagolin::parvel {

// The HTML entity (with "&" and ";") of a Windows-1252 byte from 160 to 255; nullptr below.
// 168 gives "&die;"; 183 gives "&middot;" (the caller drops it inside a bullet list).
const char* EntityName(int value);

// A control word's parameter as a 32-bit integer: an optional "-" and decimal digits, in range.
// Anything else is not an integer (std::nullopt), and the caller uses its fixed value instead.
std::optional<std::int32_t> ParseInt(std::string_view text);

// A colour component as the colour table stores it: uppercase hex of the 32-bit value (a
// negative value in two's complement), at least two digits.
std::string ColorComponent(std::int32_t value);

}  // namespace pagolin::parvel
