// Replacing a list of placeholders in turn throughout a text: the variables of a page.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pagolin {

// Placeholder ("%" + Name + "%") and the value that replaces it, in the order of replacement.
using TVariables = std::vector<std::pair<std::string, std::string>>;

// The result of text := ReplaceAll(text, placeholder, value) for each variable in turn, over
// the whole text, exactly (including the bound ReplaceAll puts on endless inputs).
//
// When OneScanGivesSameResult(variables), the text is scanned once and only its '%'-delimited
// stretches are compared with the names; otherwise each variable takes a pass over the text.
std::string ReplaceInTurn(std::string_view text, const TVariables& variables);

// Whether the single scan gives the result of the passes in turn for every text: each
// placeholder is "%" + name + "%" with no other '%', each value holds no '%' and is not part
// of its own name (so no replacement can form a new occurrence of its own placeholder).
bool OneScanGivesSameResult(const TVariables& variables);

}  // namespace pagolin
