#include "core/platform/codepage.h"

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

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of Windows-1252 equals Latin-1.
constexpr char16_t kHighTable[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

void AppendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

char32_t AnsiCharToUnicode(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) return kHighTable[c - 0x80];
  return c;
}

int UnicodeToAnsiChar(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<int>(u);
  for (int i = 0; i < 32; ++i)
    if (kHighTable[i] == u) return 0x80 + i;
  return -1;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 8);
  for (size_t i = 0; i < ansi.size();) {
    const size_t run = AsciiRunEnd(ansi, i);  // rich text is ASCII throughout
    out.append(ansi.data() + i, run - i);
    if (run == ansi.size()) break;
    AppendUtf8(out, AnsiCharToUnicode(static_cast<unsigned char>(ansi[run])));
    i = run + 1;
  }
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  // Rich text is ASCII throughout: such a text is copied as it is.
  size_t i = AsciiRunEnd(utf8, 0);
  if (i == utf8.size()) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  out.append(utf8.data(), i);
  const size_t n = utf8.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      const size_t j = AsciiRunEnd(utf8, i);
      out.append(utf8.data() + i, j - i);
      i = j;
      continue;
    }
    int extra = 0;
    char32_t u = 0;
    if ((c & 0xE0) == 0xC0) {
      extra = 1;
      u = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      u = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      u = c & 0x07;
    } else {
      out += '?';  // a stray continuation byte or an invalid lead byte
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= n || (static_cast<unsigned char>(utf8[j]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      u = (u << 6) | (static_cast<unsigned char>(utf8[j]) & 0x3F);
    }
    if (!ok) {
      out += '?';
      i = j;
      continue;
    }
    const int a = UnicodeToAnsiChar(u);
    out += a < 0 ? '?' : static_cast<char>(a);
    i = j;
  }
  return out;
}

}  // namespace pagolin
