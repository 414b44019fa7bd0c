#include "core/pages/colorcode.h"

#include <cstdio>

#include "core/platform/replaceall.h"

namespace pagolin {

std::string HtmlColorCode(std::uint32_t colorRef) {
  // Eight upper-case hex digits, blanks made zeros: "00BBGGRR"; then red, green and blue.
  char field[16];
  std::snprintf(field, sizeof field, "%*.*X", 8, 0, static_cast<unsigned>(colorRef));
  const std::string digits = ReplaceAll(field, " ", "0");
  return "#" + digits.substr(6, 2) + digits.substr(4, 2) + digits.substr(2, 2);
}

}  // namespace pagolin
