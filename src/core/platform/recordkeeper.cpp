#include "core/platform/recordkeeper.h"

namespace pagolin {

TRecordKeeper::TRecordKeeper(TTable& table)
    : table_(table),
      controlsDisabled_(table),
      recordId_(table.RecordId()),
      recNo_(table.Active() ? table.RecNo() : 0),
      hadRange_(table.HasRange()) {}

TRecordKeeper::~TRecordKeeper() {
  if (restored_) return;
  try {
    Return();
  } catch (const EDatabaseError&) {
    // The walk is ending with an error of its own; that one is reported.
  }
}

void TRecordKeeper::Restore() {
  restored_ = true;
  Return();
}

void TRecordKeeper::Return() {
  if (!table_.Active()) return;  // (the controls are enabled again by the member's destructor)
  if (!hadRange_ && table_.HasRange()) table_.CancelRange();
  // The record itself, wherever edits of the walk moved it; its place when it is gone.
  if (recordId_ == 0 || !table_.LocateRecord(recordId_)) {
    if (recNo_ > 0) table_.SetRecNo(recNo_);
  }
  controlsDisabled_.Enable();  // the controls show the record they showed before the walk
}

}  // namespace pagolin
