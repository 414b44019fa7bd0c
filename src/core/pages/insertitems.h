// What the rich editors' popup menu offers for typing template text: the row placeholders of the
// builder, shown only for the row template being edited, and one item per variable.
#pragma once

#include <string>
#include <vector>

namespace pagolin {

class TTable;

// A row placeholder item of "HTML script Variables".
struct TPlaceholderItem {
  const char* Name;  // the menu item's component name
  const char* Caption;
  const char* Inserts;   // the placeholder it types
  const char* ShownFor;  // the row templates it belongs to, separated by "|"
};

// The thirteen items, in menu order.
const std::vector<TPlaceholderItem>& PlaceholderItems();
// The submenu can be used while the code being edited is one of the three row templates
// ("Product", "News", "Link", compared exactly).
bool PlaceholdersEnabled(const std::string& codeName);
bool PlaceholderShown(const TPlaceholderItem& item, const std::string& codeName);

// An item of "Global script variables".
struct TVariableItem {
  std::string Caption;  // "%NAME% (Description 1)"
  std::string Hint;     // "%NAME%": what the item types
};

// One item per code of type "Variable", in Name order (a range on the TypeAndName index); then
// the range is cancelled and the first code is current. Database errors propagate.
std::vector<TVariableItem> VariableItems(TTable& tblCodes);

}  // namespace pagolin
