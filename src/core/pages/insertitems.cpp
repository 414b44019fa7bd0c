#include "core/pages/insertitems.h"

#include <string_view>

#include "core/platform/ttable.h"

namespace pagolin {

const std::vector<TPlaceholderItem>& PlaceholderItems() {
  static const std::vector<TPlaceholderItem> items = {
      {"Productname1", "Product name", "%NAME%", "Product"},
      {"Productcategory1", "Product category", "%CATEGORY%", "Product"},
      {"ProductDescription1", "Product description", "%DESCRIPTION%", "Product"},
      {"Downloadfile1", "Download file name", "%FILENAME%", "Product"},
      {"Downloadfiledate1", "Download file date", "%FILEDATE%", "Product"},
      {"Downloadfilesize1", "Download file size", "%FILESIZE%", "Product"},
      {"Screenshot1", "Image", "%IMAGE%", "Product|Link"},
      {"Newsdate1", "News date", "%DATE%", "News"},
      {"Newstitle1", "News title", "%NEWSTITLE%", "News"},
      {"Newsbody1", "News body", "%NEWSBODY%", "News"},
      {"Linkname1", "Link name", "%NAME%", "Link"},
      {"LinkURL1", "Link URL", "%URL%", "Link"},
      {"Linkdescription1", "Link description", "%DESCRIPTION%", "Link"},
  };
  return items;
}

bool PlaceholdersEnabled(const std::string& codeName) {
  return codeName == "Product" || codeName == "News" || codeName == "Link";
}

bool PlaceholderShown(const TPlaceholderItem& item, const std::string& codeName) {
  std::string_view rest = item.ShownFor;
  while (!rest.empty()) {
    const size_t bar = rest.find('|');
    if (rest.substr(0, bar) == codeName) return true;
    if (bar == std::string_view::npos) break;
    rest.remove_prefix(bar + 1);
  }
  return false;
}

std::vector<TVariableItem> VariableItems(TTable& tblCodes) {
  std::vector<TVariableItem> items;
  TControlsDisabled quiet(tblCodes);  // the codes tab need not show each variable
  tblCodes.SetRange("Variable", "Variable");
  TField& name = tblCodes.FieldByName("Name");
  TField& description = tblCodes.FieldByName("Description 1");
  for (tblCodes.First(); !tblCodes.Eof(); tblCodes.Next()) {
    const std::string placeholder = "%" + name.AsString() + "%";
    items.push_back({placeholder + " (" + description.AsString() + ")", placeholder});
  }
  tblCodes.CancelRange();
  tblCodes.First();
  quiet.Enable();
  return items;
}

}  // namespace pagolin
