// The code pages old table files come in, and their conversion to UTF-8: Windows-1252 (the
// program's own) and the DOS code pages 437 (US) and 850 (Western Europe). The tables of the
// DOS code pages live here and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// True for 437, 850 and 1252.
bool IsSupportedCodePage(int codePage);
// "437, 850 and 1252", for messages.
std::string SupportedCodePagesText();

// The Unicode code point of byte c in codePage; every byte has one (the bytes below 0x80 are
// ASCII in all three). REQUIRES: IsSupportedCodePage(codePage).
char32_t CodePageCharToUnicode(int codePage, unsigned char c);

// Text of codePage as UTF-8. REQUIRES: IsSupportedCodePage(codePage).
std::string CodePageToUtf8(int codePage, std::string_view text);

}  // namespace pagolin
