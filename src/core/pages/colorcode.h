// The HTML colour code ("#RRGGBB") that the main window's "Insert color code..." types.
#pragma once

#include <cstdint>
#include <string>

namespace pagolin {

// colorRef holds red in its low byte, then green, then blue (0x00BBGGRR, as the colour dialog
// gives it); a high byte is ignored. Red 0x12, green 0x34, blue 0x56 give "#123456".
std::string HtmlColorCode(std::uint32_t colorRef);

}  // namespace pagolin
