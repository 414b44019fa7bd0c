#include "codes.h"

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

std::string ReplaceVariables(TTable& tblCodes, const std::string& text, bool plain) {
  std::string result = text;
  tblCodes.SetRange("Variable", "Variable");
  try {
    TField& name = tblCodes.FieldByName("Name");
    TField& value = tblCodes.FieldByName(plain ? "Description 1" : "Code");
    // Two buffers in turn: a page passes through every variable without fresh memory.
    std::string spare;
    for (tblCodes.First(); !tblCodes.Eof(); tblCodes.Next()) {
      if (ReplaceAllInto(result, "%" + name.AsString() + "%", value.AsString(), spare)) result.swap(spare);
      if (plain) result = WrapLines(result);
    }
  } catch (...) {
    tblCodes.CancelRange();
    throw;
  }
  tblCodes.CancelRange();
  return result;
}

}  // namespace pagolin
