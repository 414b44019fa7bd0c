// Line handling of pages and postings: every line the program writes ends with CR LF.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// The column at which plain text is wrapped for postings: a 480-pixel box of 8-point Courier
// New. At 96 dpi 8 points are 11 pixels, at which Courier New advances 7 pixels a character;
// the box's borders and margins leave 472 pixels, room for 67 characters.
inline constexpr size_t kWrapColumns = 67;

// Appends the lines of text to out, each ended by CR LF: lines end at CR LF, CR or LF, and a
// final line break starts no empty line (so "" appends nothing, "a" and "a\r\n" both "a\r\n").
void AppendLines(std::string& out, std::string_view text);

// The same lines as a new text.
std::string ToCrLfLines(std::string_view text);

// Whether ToCrLfLines(text) == text: every CR is followed by LF, every LF follows a CR, and the
// text is empty or ends with a line break.
bool IsCrLfLines(std::string_view text);

// Wraps each line of text longer than kWrapColumns at word boundaries (the blanks at a break
// are dropped; a word longer than a line is cut at the column), and returns the lines each
// followed by CR LF. The text's own line breaks are kept; a final line break starts no empty
// line.
std::string WrapLines(std::string_view text);

}  // namespace pagolin
