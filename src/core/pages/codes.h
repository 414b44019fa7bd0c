// The codes table as templates: sections fetched by name, and the user's variables.
//
// Both move the current record of tblCodes (the caller sets it back when it matters) and let
// database errors (EDatabaseError) through.
#pragma once

#include <string>

namespace pagolin {

class TTable;

// The Code of the first code, in the table's index order, whose Name equals name exactly
// (with case, any Type), with every "%HOME%" replaced by the file name of homePagePath.
// "" when no code has that name.
std::string GetCode(TTable& tblCodes, const std::string& name, const std::string& homePagePath);

// Replaces the placeholder "%" + Name + "%" of every code of Type "Variable", in Name order,
// throughout text: by its Code in HTML mode, by its Description 1 in plain mode, where the
// whole text is then wrapped into lines (WrapLines) after each variable (so a text with no
// variable codes comes back unwrapped). REQUIRES: tblCodes open on its TypeAndName index.
std::string ReplaceVariables(TTable& tblCodes, const std::string& text, bool plain);

// ToCrLfLines(ReplaceVariables(tblCodes, text, false)) in one pass: what a page file holds.
std::string ReplaceVariablesAsLines(TTable& tblCodes, const std::string& text);

}  // namespace pagolin
