// Header values of news articles: line breaks made harmless, and characters beyond ASCII
// written as encoded words so that servers checking the syntax accept them.
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

// The value (UTF-8) as it goes after "Name: " in a header line. An all-ASCII value comes back
// unchanged. Otherwise each run of blank-separated words holding bytes above 127 becomes one
// or more Q-encoded words, the other words stay as they are, and
// the line is folded (CR LF and a blank) at blanks where it would pass 76 characters.
// nameLength is the length of "Name: ", to count the first line. The words are
// "=?windows-1252?Q?...?=" when the code page holds the whole value, else "=?UTF-8?Q?...?=";
// a word never splits a character.
std::string EncodeHeaderValue(std::string_view value, std::size_t nameLength);

// The charset a body (UTF-8 lines) goes out in: "windows-1252" when the code page holds every
// character, as articles have always gone out, else "UTF-8" (8bit).
std::string BodyCharset(const std::vector<std::string>& lines);
// A body line in that charset ("" for an all-ASCII body: the line as it is).
std::string BodyInCharset(std::string_view line, std::string_view charset);

// The value of a From header naming the sender: the name (UTF-8) as a phrase, then "<address>";
// the address alone when the name is empty. A name with bytes above 127 becomes encoded words as
// a whole, in the charset EncodeHeaderValue would choose (so its specials are encoded too); an
// ASCII name holding specials ( ) < > [ ] : ; @ \ , . or a quote is quoted, with a backslash
// before \ and ". Folded as EncodeHeaderValue folds.
std::string MailboxHeaderValue(std::string_view name, std::string_view address, std::size_t nameLength);

}  // namespace pagolin
