// Texts inside the core are Windows-1252 byte strings. These two helpers are the only
// crossing to UTF-8 (SQLite files, the Qt side goes through them as well).
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// Every byte maps to one code point; the five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so all 256
// bytes survive a round trip.
std::string AnsiToUtf8(std::string_view ansi);

// A character Windows-1252 cannot hold, and a malformed UTF-8 sequence, become "?".
std::string Utf8ToAnsi(std::string_view utf8);

// The Unicode code point of one Windows-1252 byte, and back (-1 when there is none).
char32_t AnsiCharToUnicode(unsigned char c);
int UnicodeToAnsiChar(char32_t u);

// Appends the UTF-8 form of one code point of the Basic Multilingual Plane.
void AppendUtf8(std::string& out, char32_t u);
// The end of the run of ASCII bytes of text that starts at from (eight bytes are tested at a
// time).
size_t AsciiRunEnd(std::string_view text, size_t from);

}  // namespace pagolin
