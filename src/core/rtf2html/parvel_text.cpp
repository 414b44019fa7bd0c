#include "core/rtf2html/parvel_text.h"

#include "core/platform/htmlentities.h"
#include "core/platform/replaceall.h"
#include "core/platform/utf8.h"
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

std::string UnescapeHtml(std::string_view html) {
  std::string out;
  for (std::size_t i = 0; i < html.size(); ++i) {
    const std::size_t semicolon = html[i] == '&' ? html.find(';', i) : std::string_view::npos;
    if (semicolon == std::string_view::npos || semicolon - i > 10) {
      out += html[i];
      continue;
    }
    const std::string_view name = html.substr(i, semicolon - i + 1);
    char32_t u = 0;
    if (name == "&amp;")
      u = '&';
    else if (name == "&lt;")
      u = '<';
    else if (name == "&gt;")
      u = '>';
    else if (name == "&quot;")
      u = '"';
    else if (name.size() > 3 && name[1] == '#') {
      if (const auto value = ParseInt(name.substr(2, name.size() - 3)); value && *value > 0)
        u = static_cast<char32_t>(*value);
    } else {
      for (int v = 160; v < 256 && u == 0; ++v)
        if (name == EntityName(v)) u = static_cast<char32_t>(v);
    }
    if (u == 0) {
      out += html[i];
      continue;
    }
    AppendUtf8(out, u);
    i = semicolon;
  }
  return out;
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
