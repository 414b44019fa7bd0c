#include "core/platform/utf8.h"

#include <cstdint>
#include <cstring>

namespace pagolin {

size_t AsciiRunEnd(std::string_view text, size_t from) {
  const size_t n = text.size();
  size_t i = from;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if (word & 0x8080808080808080ULL) break;
  }
  while (i < n && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  return i;
}

bool DecodeUtf8(std::string_view text, size_t& pos, char32_t& u) {
  const auto byte = [&](size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
  const unsigned c = byte(pos);
  if (c < 0x80) {
    u = c;
    ++pos;
    return true;
  }
  int extra;
  // The range the second byte must lie in; the later ones are always 80..BF.
  unsigned low = 0x80, high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    extra = 1;
    u = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    extra = 2;
    u = c & 0x0F;
    if (c == 0xE0) low = 0xA0;   // overlong below
    if (c == 0xED) high = 0x9F;  // surrogates above
  } else if (c >= 0xF0 && c <= 0xF4) {
    extra = 3;
    u = c & 0x07;
    if (c == 0xF0) low = 0x90;   // overlong below
    if (c == 0xF4) high = 0x8F;  // past U+10FFFF above
  } else {
    ++pos;  // a continuation byte, C0, C1 or F5..FF can start nothing
    return false;
  }
  size_t i = pos + 1;
  for (int k = 0; k < extra; ++k, ++i) {
    const unsigned b = byte(i);
    if (i >= text.size() || b < low || b > high) {
      pos = i;
      return false;
    }
    u = (u << 6) | (b & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  pos = i;
  return true;
}

bool IsValidUtf8(std::string_view text) {
  size_t i = AsciiRunEnd(text, 0);
  char32_t u;
  while (i < text.size()) {
    if (!DecodeUtf8(text, i, u)) return false;
    i = AsciiRunEnd(text, i);
  }
  return true;
}

std::string ValidUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    char32_t u;
    if (DecodeUtf8(text, i, u))
      out.append(text.data() + start, i - start);
    else
      AppendUtf8(out, kReplacementChar);
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t u) {
  if ((u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF) u = kReplacementChar;
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

size_t Utf8Length(std::string_view text) {
  size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

size_t Utf8Offset(std::string_view text, size_t count) {
  size_t i = 0;
  for (; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (count == 0) return i;
      --count;
    }
  }
  return i;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, c);  // a lone surrogate becomes U+FFFD there
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t u;
    if (!DecodeUtf8(text, i, u)) u = kReplacementChar;
    if (u >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((u - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((u - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(u);
    }
  }
  return out;
}

}  // namespace pagolin
