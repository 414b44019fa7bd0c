// The buttons of a record navigator: what each does to its data set and when each is enabled.
#pragma once

#include <array>

#include "core/platform/ttable.h"

namespace pagolin {

enum class TNavigateBtn {
  nbFirst,
  nbPrior,
  nbNext,
  nbLast,
  nbInsert,
  nbDelete,
  nbEdit,
  nbPost,
  nbCancel,
  nbRefresh
};

inline constexpr std::array<TNavigateBtn, 10> kAllNavigateBtns = {
    TNavigateBtn::nbFirst,  TNavigateBtn::nbPrior,  TNavigateBtn::nbNext, TNavigateBtn::nbLast,
    TNavigateBtn::nbInsert, TNavigateBtn::nbDelete, TNavigateBtn::nbEdit, TNavigateBtn::nbPost,
    TNavigateBtn::nbCancel, TNavigateBtn::nbRefresh};

// The hint a button shows when its owner gives none ("Insert record", "Post edit", ...).
const char* DefaultNavigatorHint(TNavigateBtn button);

// Whether the button can act on the data set as it stands: nothing without an open table;
// moves towards the start while not at the first record, towards the end while not at the
// last (browsing); insert always; delete while there is a record (or one being inserted);
// edit while browsing a record; post and cancel while editing or inserting; refresh while
// browsing. A read-only navigator enables only the moves and refresh.
bool NavigatorButtonEnabled(const TTable* table, TNavigateBtn button, bool readOnly = false);

// Asks "Delete record?" (OK / Cancel) through the message hooks when confirm is set, then
// deletes the current record (an inserted one is dropped); true when it was deleted.
// EDatabaseError from the table propagates.
bool DeleteRecord(TTable& table, bool confirm);

// What a click on the button does (delete asks first when confirm is set). EDatabaseError
// propagates with the data set in the state it was in.
void NavigatorButtonClick(TTable& table, TNavigateBtn button, bool confirmDelete);

}  // namespace pagolin
