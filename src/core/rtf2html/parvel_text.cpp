#include "core/rtf2html/parvel_text.h"

#include "core/platform/htmlentities.h"
#include "core/platform/replaceall.h"
#include "core/rtf2html/parvel.h"

namespace pagolin {
namespace parvel {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseInt(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Accumulate as a negative number so that the most negative 32-bit value fits too.
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 - (c - '0');
    if (value < INT32_MIN) return std::nullopt;
  }
  if (!negative) {
    if (-value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(-value);
  }
  return static_cast<std::int32_t>(value);
}

std::string ColorComponent(std::int32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto bits = static_cast<std::uint32_t>(value);
  std::string hex;
  do {
    hex.insert(hex.begin(), kDigits[bits & 0xF]);
    bits >>= 4;
  } while (bits != 0);
  if (hex.size() == 1) hex.insert(hex.begin(), '0');
  return hex;
}

}  // namespace parvel

int TParvel::HexToByte(const std::string& hex) {
  if (hex.size() != 2) return -1;
  const int high = parvel::HexDigit(hex[0]);
  const int low = parvel::HexDigit(hex[1]);
  if (high < 0 || low < 0) return -1;
  return high * 16 + low;
}

std::string TParvel::EncodeTitle(const std::string& title) { return EscapeHtml(title, false); }

std::string TParvel::ReplaceAll(const std::string& Text, const std::string& Search,
                                const std::string& Replacement) {
  return pagolin::ReplaceAll(Text, Search, Replacement);
}

}  // namespace pagolin
