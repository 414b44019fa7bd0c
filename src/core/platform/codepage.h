// Windows-1252, the code page of the stored formats that need one: the pages (with numeric
// character references for what it cannot hold), news articles whose text it holds, settings
// files of old sites and the texts of old tables. Texts inside the core are UTF-8 (utf8.h);
// these helpers are the crossings, used only where such a format or peer is read or written.
#pragma once

#include <string>
#include <string_view>

#include "core/platform/utf8.h"

namespace pagolin {

// Every byte maps to one code point; the five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so all 256
// bytes survive a round trip.
std::string AnsiToUtf8(std::string_view ansi);

// A character Windows-1252 cannot hold, and each broken UTF-8 piece, become "?".
std::string Utf8ToAnsi(std::string_view utf8);

// Whether every character of a UTF-8 text has a Windows-1252 byte (a broken piece has none).
bool FitsAnsi(std::string_view utf8);

// A page's bytes: Windows-1252 where it holds the character, otherwise a numeric character
// reference ("&#321;", "&#128512;"); a broken UTF-8 piece becomes "&#65533;". Text that the
// code page holds comes out exactly as Utf8ToAnsi gives it.
std::string Utf8ToAnsiRefs(std::string_view utf8);

// A text file of the program (the settings file) as text: a UTF-8 byte order mark, or bytes
// that are well-formed UTF-8, mean UTF-8; anything else is read as Windows-1252, as files of
// old sites are written.
std::string TextFileToUtf8(std::string_view bytes);
// And back: Windows-1252 when it holds every character (files stay as they always were) and
// its bytes cannot be taken for UTF-8, otherwise UTF-8 after a byte order mark.
std::string Utf8ToTextFile(std::string_view utf8);

// The Unicode code point of one Windows-1252 byte, and back (-1 when there is none).
char32_t AnsiCharToUnicode(unsigned char c);
int UnicodeToAnsiChar(char32_t u);

}  // namespace pagolin
