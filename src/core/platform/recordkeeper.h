// TRecordKeeper: puts a table back where it was when a walk over it is done, also when the walk
// ends with an error, so that the controls bound to the table stay on the user's record. The
// controls do not follow the walk meanwhile (they are disabled for the keeper's lifetime).
#pragma once

#include "core/platform/ttable.h"

namespace pagolin {

class TRecordKeeper {
 public:
  // Remembers the current record of table (REQUIRES: table outlives the keeper).
  explicit TRecordKeeper(TTable& table);
  // Without Restore(): does what Restore() does, dropping its errors, because the walk is
  // ending with an error of its own, which is the one to report.
  ~TRecordKeeper();
  TRecordKeeper(const TRecordKeeper&) = delete;
  TRecordKeeper& operator=(const TRecordKeeper&) = delete;

  // Cancels a range set since the keeper was made and makes the remembered record current
  // again (found by its identity, so also after the walk moved it in the order; when it is
  // gone, the record now at its place); errors (EDatabaseError) propagate. The destructor then
  // does nothing more.
  void Restore();

 private:
  void Return();

  TTable& table_;
  TControlsDisabled controlsDisabled_;  // re-enabled after the destructor has returned
  TRecordId recordId_;
  int recNo_;
  bool hadRange_;
  bool restored_ = false;
};

}  // namespace pagolin
