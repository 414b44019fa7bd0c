#include "codes.h"

#include <utility>
#include <vector>

#include "build/replaceall.h"
#include "build/textlines.h"
#include "platform/filenames.h"
#include "platform/ttable.h"

namespace pagolin {

std::string GetCode(TTable& tblCodes, const std::string& name, const std::string& homePagePath) {
  std::string result;
  if (tblCodes.Locate("Name", name) && tblCodes.FieldByName("Name").AsString() == name)
    result = tblCodes.FieldByName("Code").AsString();
  return ReplaceAll(result, "%HOME%", ExtractFileName(homePagePath));
}

namespace {

using TVariables = std::vector<std::pair<std::string, std::string>>;  // placeholder, value

// Replaces each variable in turn throughout text. When no placeholder holds a line feed, no
// occurrence (found or formed) can span one, so the text is taken in pieces that end at line
// feeds, each through all variables while it is in the cache: the same result as whole passes.
// With asLines, the lines of each piece are appended in CR LF form (a piece ends at a line
// feed, so no line is split).
std::string ReplaceInTurn(const std::string& text, const TVariables& variables, bool asLines) {
  constexpr size_t kPiece = 64 * 1024;
  bool pieces = true;
  for (const auto& v : variables)
    if (v.first.find('\n') != std::string::npos) pieces = false;
  std::string out, piece, spare;
  out.reserve(text.size() + text.size() / 16);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.size();
    if (pieces && text.size() - start > kPiece) {
      const size_t lf = text.find('\n', start + kPiece);
      if (lf != std::string::npos) end = lf + 1;
    }
    piece.assign(text, start, end - start);
    for (const auto& [placeholder, value] : variables)
      if (ReplaceAllInto(piece, placeholder, value, spare)) piece.swap(spare);
    if (asLines)
      AppendLines(out, piece);
    else
      out += piece;
    start = end;
  }
  return out;
}

TVariables ReadVariables(TTable& tblCodes, bool plain) {
  TVariables variables;
  tblCodes.SetRange("Variable", "Variable");
  try {
    TField& name = tblCodes.FieldByName("Name");
    TField& value = tblCodes.FieldByName(plain ? "Description 1" : "Code");
    for (tblCodes.First(); !tblCodes.Eof(); tblCodes.Next())
      variables.emplace_back("%" + name.AsString() + "%", value.AsString());
  } catch (...) {
    tblCodes.CancelRange();
    throw;
  }
  tblCodes.CancelRange();
  return variables;
}

}  // namespace

std::string ReplaceVariablesAsLines(TTable& tblCodes, const std::string& text) {
  return ReplaceInTurn(text, ReadVariables(tblCodes, false), true);
}

std::string ReplaceVariables(TTable& tblCodes, const std::string& text, bool plain) {
  const TVariables variables = ReadVariables(tblCodes, plain);
  if (!plain) return ReplaceInTurn(text, variables, false);
  // Plain mode wraps the whole text after every variable.
  std::string result = text;
  for (const auto& [placeholder, value] : variables) result = WrapLines(ReplaceAll(result, placeholder, value));
  return result;
}

}  // namespace pagolin
