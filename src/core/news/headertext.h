// Header values of news articles: line breaks made harmless, and bytes above 127 written as
// encoded words (charset windows-1252) so that servers checking the syntax accept them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pagolin {

// Every CR and LF replaced by a blank, so a value can never start a header line of its own.
std::string CleanHeaderValue(std::string_view value);

// True when a byte is above 127.
bool HasHighBytes(std::string_view text);
bool HasHighBytes(const std::vector<std::string>& lines);

// The value as it goes after "Name: " in a header line. An all-ASCII value comes back
// unchanged. Otherwise each run of blank-separated words holding bytes above 127 becomes one
// or more Q-encoded words ("=?windows-1252?Q?...?="), the other words stay as they are, and
// the line is folded (CR LF and a blank) at blanks where it would pass 76 characters.
// nameLength is the length of "Name: ", to count the first line.
std::string EncodeHeaderValue(std::string_view value, std::size_t nameLength);

}  // namespace pagolin
