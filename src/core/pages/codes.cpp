#include "core/pages/codes.h"

#include "core/pages/textlines.h"
#include "core/pages/variables.h"
#include "core/platform/filenames.h"
#include "core/platform/recordkeeper.h"
#include "core/platform/replaceall.h"
#include "core/platform/ttable.h"

namespace pagolin {

std::string GetCode(TTable& tblCodes, const std::string& name, const std::string& homePagePath) {
  std::string result;
  if (tblCodes.Locate("Name", name) && tblCodes.FieldByName("Name").AsString() == name)
    result = tblCodes.FieldByName("Code").AsString();
  return ReplaceAll(result, "%HOME%", ExtractFileName(homePagePath));
}

namespace {

TVariables ReadVariables(TTable& tblCodes, bool plain) {
  TVariables variables;
  TRecordKeeper keeper(tblCodes);
  tblCodes.SetRange("Variable", "Variable");
  TField& name = tblCodes.FieldByName("Name");
  TField& value = tblCodes.FieldByName(plain ? "Description 1" : "Code");
  for (tblCodes.First(); !tblCodes.Eof(); tblCodes.Next())
    variables.emplace_back("%" + name.AsString() + "%", value.AsString());
  keeper.Restore();
  return variables;
}

}  // namespace

std::string ReplaceVariablesAsLines(TTable& tblCodes, const std::string& text) {
  std::string result = ReplaceInTurn(text, ReadVariables(tblCodes, false));
  // A page is assembled in CR LF lines; only a variable's value can bring other line breaks.
  if (IsCrLfLines(result)) return result;
  return ToCrLfLines(result);
}

std::string ReplaceVariables(TTable& tblCodes, const std::string& text, bool plain) {
  const TVariables variables = ReadVariables(tblCodes, plain);
  if (!plain) return ReplaceInTurn(text, variables);
  // Plain mode wraps the whole text after every variable.
  std::string result = text;
  for (const auto& [placeholder, value] : variables)
    result = WrapLines(ReplaceAll(result, placeholder, value));
  return result;
}

}  // namespace pagolin
