#include "core/platform/dbnavigation.h"

#include "core/platform/hooks.h"

namespace pagolin {

const char* DefaultNavigatorHint(TNavigateBtn button) {
  switch (button) {
    case TNavigateBtn::nbFirst: return "First record";
    case TNavigateBtn::nbPrior: return "Prior record";
    case TNavigateBtn::nbNext: return "Next record";
    case TNavigateBtn::nbLast: return "Last record";
    case TNavigateBtn::nbInsert: return "Insert record";
    case TNavigateBtn::nbDelete: return "Delete record";
    case TNavigateBtn::nbEdit: return "Edit record";
    case TNavigateBtn::nbPost: return "Post edit";
    case TNavigateBtn::nbCancel: return "Cancel edit";
    case TNavigateBtn::nbRefresh: return "Refresh data";
  }
  return "";
}

bool NavigatorButtonEnabled(const TTable* table, TNavigateBtn button, bool readOnly) {
  if (!table || !table->Active()) return false;
  const TDataSetState state = table->State();
  const bool editing = state == TDataSetState::dsEdit || state == TDataSetState::dsInsert;
  const bool empty = table->IsEmpty();
  // While inserting RecNo() is 0: every move is possible (it stores the new record first).
  const int recNo = table->RecNo();
  switch (button) {
    case TNavigateBtn::nbFirst:
    case TNavigateBtn::nbPrior: return !empty && recNo != 1;
    case TNavigateBtn::nbNext:
    case TNavigateBtn::nbLast: return !empty && recNo != table->RecordCount();
    case TNavigateBtn::nbInsert: return !readOnly;
    case TNavigateBtn::nbDelete: return !readOnly && (!empty || state == TDataSetState::dsInsert);
    case TNavigateBtn::nbEdit: return !readOnly && state == TDataSetState::dsBrowse;
    case TNavigateBtn::nbPost:
    case TNavigateBtn::nbCancel: return !readOnly && editing;
    case TNavigateBtn::nbRefresh: return !editing;
  }
  return false;
}

bool DeleteRecord(TTable& table, bool confirm) {
  if (table.IsEmpty() && table.State() != TDataSetState::dsInsert) return false;
  if (confirm && MessageDlg("Delete record?", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbOKCancel) !=
                     TModalResult::mrOk)
    return false;
  table.Delete();
  return true;
}

void NavigatorButtonClick(TTable& table, TNavigateBtn button, bool confirmDelete) {
  switch (button) {
    case TNavigateBtn::nbFirst: table.First(); break;
    case TNavigateBtn::nbPrior: table.Prior(); break;
    case TNavigateBtn::nbNext: table.Next(); break;
    case TNavigateBtn::nbLast: table.Last(); break;
    case TNavigateBtn::nbInsert: table.Insert(); break;
    case TNavigateBtn::nbDelete: DeleteRecord(table, confirmDelete); break;
    case TNavigateBtn::nbEdit: table.Edit(); break;
    case TNavigateBtn::nbPost: table.Post(); break;
    case TNavigateBtn::nbCancel: table.Cancel(); break;
    case TNavigateBtn::nbRefresh: table.Refresh(); break;
  }
}

}  // namespace pagolin
