// ReplaceAll: the placeholder replacement of the pages, the variables and the converter.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// Replaces every occurrence of placeholder in text (exact, with case) by replacement, with the
// meaning "replace the first occurrence, then search again from the start, until none is
// left": an occurrence that a replacement forms together with its neighbouring text is
// replaced as well. An empty placeholder leaves the text unchanged.
//
// Runs in time linear in the sizes of text and result. Inputs on which that rule would never
// end get an end instead:
// - a replacement that contains the placeholder replaces each occurrence once and the search
//   goes on after the inserted text;
// - otherwise, once occurrences formed with inserted text have cost more than a budget
//   proportional to the input, the search goes on after each inserted text from then on.
// Every input on which the rule ends within that budget gets exactly the rule's result.
std::string ReplaceAll(std::string_view text, std::string_view placeholder, std::string_view replacement);

// The same, written into out (its old contents are dropped, its memory is reused); returns
// false, leaving out alone, when text holds no placeholder, so that the caller can keep text.
// REQUIRES: out does not share memory with text.
bool ReplaceAllInto(std::string_view text, std::string_view placeholder, std::string_view replacement,
                    std::string& out);

}  // namespace pagolin
