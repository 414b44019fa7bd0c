// TUndoHistory: the work a table threw away during the run, kept so that it can be given back:
// edits cancelled (Escape, a Cancel button) and records deleted, the last `limit` steps.
//
// Undo gives back the newest step:
//  - a cancelled edit: its values go back into the record's edit state, nothing is posted (the
//    record becomes current; pending edits of another record are posted first, as any move
//    posts them); a cancelled insert becomes a new insert holding its values;
//  - a deleted record: stored again with every value as it was (the same bytes), under its old
//    identity when no record has taken it, and made current.
// Redo does an undone step again (cancels the edit the undo made, deletes the record again) as
// long as that still applies. Any new step drops what could be redone.
//
// A value typed into a control but dropped before it reached the record (Escape in a grid
// cell) is kept with AddDroppedValue, as a cancelled edit of that one field.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/platform/ttable.h"

namespace pagolin {

class TUndoHistory {
 public:
  static constexpr std::size_t kDefaultLimit = 20;

  // One step: what the table told (TDiscardedWork) and the name shown for it.
  struct TStep {
    bool Deleted = false;
    TRecordId Record = 0;  // 0: a cancelled insert
    std::vector<TStoredValue> Values;
    std::vector<bool> Written;
    std::string Name;  // the record's name or title, "" when it has none
  };

  // Listens to table.OnDiscard until destroyed. nameField names a record in the captions
  // ("Name", "News Title 1", "Subject").
  TUndoHistory(TTable& table, std::string nameField, std::size_t limit = kDefaultLimit);
  ~TUndoHistory();
  TUndoHistory(const TUndoHistory&) = delete;
  TUndoHistory& operator=(const TUndoHistory&) = delete;

  TTable& Table() const { return table_; }
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // "Undo delete of Quillpad", "Undo cancel of Quillpad" ("(untitled)" for a record without a
  // name, a long name cut after 37 bytes, never inside a character); "" when there is nothing
  // to undo. RedoCaption alike with "Redo".
  std::string UndoCaption() const;
  std::string RedoCaption() const;

  // Gives back the newest step. False when there was none, or its record is gone (a cancelled
  // edit of a record deleted meanwhile by another program: the step is dropped). EDatabaseError
  // from the table propagates with the step kept.
  bool Undo();
  // Does the newest undone step again. False when there was none or it no longer applies (the
  // restored edit was posted or left; the restored record is gone): the step is dropped.
  bool Redo();

  // The value (file's form) that was typed for field of the current record and dropped.
  void AddDroppedValue(const TField& field, TStoredValue value);
  // Forgets every step (the table was emptied: its records' identities will be given again).
  void Clear();

  // The steps that can be undone, oldest first.
  const std::deque<TStep>& Steps() const { return undo_; }

  // The steps changed (a caption may have changed).
  std::function<void()> OnChange;

 private:
  void Discarded(const TDiscardedWork& work);
  void Push(TStep step);
  std::string NameOf(const TStep& step) const;
  static std::string Caption(const char* verb, const TStep& step);
  void Changed() const {
    if (OnChange) OnChange();
  }
  // The record of step current and in its edit (or insert) state; false when it is gone.
  bool EditStepRecord(const TStep& step);
  bool EditingStepRecord(const TStep& step) const;

  TTable& table_;
  std::string nameField_;
  std::size_t limit_;
  std::deque<TStep> undo_;
  std::deque<TStep> redo_;
  bool redoing_ = false;  // a step told while redoing keeps what else could be redone
};

}  // namespace pagolin
