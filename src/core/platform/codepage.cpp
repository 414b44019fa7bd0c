#include "core/platform/codepage.h"

namespace pagolin {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of Windows-1252 equals Latin-1.
constexpr char16_t kHighTable[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Converts utf8 to the code page, calling missing(out, u) for a character without a byte and
// with U+FFFD for a broken piece. ASCII runs are copied whole (rich text is ASCII throughout).
template <typename Missing>
std::string ToAnsi(std::string_view utf8, Missing missing) {
  size_t i = AsciiRunEnd(utf8, 0);
  if (i == utf8.size()) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  out.append(utf8.data(), i);
  while (i < utf8.size()) {
    char32_t u;
    if (!DecodeUtf8(utf8, i, u)) u = kReplacementChar;
    if (const int a = u == kReplacementChar ? -1 : UnicodeToAnsiChar(u); a >= 0)
      out += static_cast<char>(a);
    else
      missing(out, u);
    const size_t run = AsciiRunEnd(utf8, i);
    out.append(utf8.data() + i, run - i);
    i = run;
  }
  return out;
}

}  // namespace

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
    const size_t run = AsciiRunEnd(ansi, i);
    out.append(ansi.data() + i, run - i);
    if (run == ansi.size()) break;
    AppendUtf8(out, AnsiCharToUnicode(static_cast<unsigned char>(ansi[run])));
    i = run + 1;
  }
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  return ToAnsi(utf8, [](std::string& out, char32_t) { out += '?'; });
}

std::string Utf8ToAnsiRefs(std::string_view utf8) {
  return ToAnsi(utf8, [](std::string& out, char32_t u) { out += "&#" + std::to_string(u) + ";"; });
}

bool FitsAnsi(std::string_view utf8) {
  for (size_t i = AsciiRunEnd(utf8, 0); i < utf8.size(); i = AsciiRunEnd(utf8, i)) {
    char32_t u;
    if (!DecodeUtf8(utf8, i, u) || UnicodeToAnsiChar(u) < 0) return false;
  }
  return true;
}

std::string TextFileToUtf8(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) return ValidUtf8(bytes.substr(kByteOrderMark.size()));
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return AnsiToUtf8(bytes);
}

std::string Utf8ToTextFile(std::string_view utf8) {
  if (FitsAnsi(utf8)) {
    // Code-page bytes that happen to be well-formed UTF-8 (such as "\xC3\xA9") would be read
    // back as UTF-8: such a text is written as UTF-8.
    std::string ansi = Utf8ToAnsi(utf8);
    if (AsciiRunEnd(ansi, 0) == ansi.size() || !IsValidUtf8(ansi)) return ansi;
  }
  return std::string(kByteOrderMark) + std::string(utf8);
}

}  // namespace pagolin
