// UTF-8, the form every text takes inside the core.
//
// The rule: a std::string of the core holds well-formed UTF-8. Text is checked where it comes
// in from outside (table files, settings files, files and folders named by the system, peers)
// and, where it cannot be decoded, each broken piece becomes U+FFFD instead of being guessed
// at. Windows-1252 lives only where a stored format or a peer needs it (codepage.h): pages,
// news articles that the code page can hold, old settings files and old tables.
//
// Decoding is strict, as the Unicode standard's table of well-formed sequences has it:
// overlong forms, surrogates (U+D800 to U+DFFF) and values past U+10FFFF are invalid, and a
// broken sequence counts as one error for its longest valid-looking start (so "\xE2\x82" then
// "x" is one error and then "x").
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the character at pos and moves pos past it. On a broken sequence pos moves past
// its longest valid-looking start (at least one byte) and false is returned.
// REQUIRES: pos < text.size().
bool DecodeUtf8(std::string_view text, size_t& pos, char32_t& u);

// Whether the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// The text with each broken piece replaced by U+FFFD; a well-formed text comes back as it is.
std::string ValidUtf8(std::string_view text);

// Appends the UTF-8 form of a Unicode scalar value (a surrogate or a value past U+10FFFF is
// appended as U+FFFD).
void AppendUtf8(std::string& out, char32_t u);

// The number of characters of a well-formed text (bytes that do not continue a character).
size_t Utf8Length(std::string_view text);
// The byte offset just past the first count characters; text.size() when it has no more.
size_t Utf8Offset(std::string_view text, size_t count);

// UTF-16 (the rich editor's model and Qt) and back. A lone surrogate becomes U+FFFD; a
// broken UTF-8 piece too.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// The end of the run of ASCII bytes of text that starts at from (eight bytes are tested at a
// time).
size_t AsciiRunEnd(std::string_view text, size_t from);

}  // namespace pagolin
