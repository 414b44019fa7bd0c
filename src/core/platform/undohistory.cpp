#include "core/platform/undohistory.h"

#include <utility>

#include "core/platform/utf8.h"

namespace pagolin {

namespace {
constexpr std::size_t kCaptionNameLength = 40;  // longer names are cut in captions
}

TUndoHistory::TUndoHistory(TTable& table, std::string nameField, std::size_t limit)
    : table_(table), nameField_(std::move(nameField)), limit_(limit == 0 ? 1 : limit) {
  table_.OnDiscard = [this](const TDiscardedWork& work) { Discarded(work); };
}

TUndoHistory::~TUndoHistory() { table_.OnDiscard = nullptr; }

std::string TUndoHistory::NameOf(const TStep& step) const {
  const TField* field = const_cast<TTable&>(table_).FindField(nameField_);
  if (!field) return {};
  const auto index = static_cast<std::size_t>(field->Index());
  if (index < step.Written.size() && step.Written[index])
    return step.Values[index] ? ValidUtf8(*step.Values[index]) : std::string();
  // A cancelled edit that left the name alone: the record's own (it is current again).
  if (step.Record != 0 && table_.Active() && table_.RecordId() == step.Record) return field->AsString();
  return {};
}

void TUndoHistory::Discarded(const TDiscardedWork& work) {
  TStep step{work.Deleted, work.Record, work.Values, work.Written, {}};
  step.Name = NameOf(step);
  Push(std::move(step));
}

void TUndoHistory::Push(TStep step) {
  undo_.push_back(std::move(step));
  while (undo_.size() > limit_) undo_.pop_front();
  if (!redoing_) redo_.clear();
  Changed();
}

void TUndoHistory::AddDroppedValue(const TField& field, TStoredValue value) {
  if (!table_.Active()) return;
  TStep step;
  step.Record = table_.State() == TDataSetState::dsInsert ? 0 : table_.RecordId();
  step.Values.resize(table_.Fields().size());
  step.Written.assign(table_.Fields().size(), false);
  const auto index = static_cast<std::size_t>(field.Index());
  step.Values[index] = std::move(value);
  step.Written[index] = true;
  step.Name = NameOf(step);
  if (step.Name.empty())
    if (const TField* name = table_.FindField(nameField_)) step.Name = name->AsString();
  Push(std::move(step));
}

void TUndoHistory::Clear() {
  if (undo_.empty() && redo_.empty()) return;
  undo_.clear();
  redo_.clear();
  Changed();
}

std::string TUndoHistory::Caption(const char* verb, const TStep& step) {
  std::string name = step.Name.empty() ? "(untitled)" : step.Name;
  if (name.size() > kCaptionNameLength) {
    std::size_t cut = kCaptionNameLength - 3;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    name = name.substr(0, cut) + "...";
  }
  return std::string(verb) + (step.Deleted ? " delete of " : " cancel of ") + name;
}

std::string TUndoHistory::UndoCaption() const { return undo_.empty() ? "" : Caption("Undo", undo_.back()); }

std::string TUndoHistory::RedoCaption() const { return redo_.empty() ? "" : Caption("Redo", redo_.back()); }

bool TUndoHistory::EditingStepRecord(const TStep& step) const {
  if (step.Record == 0) return table_.State() == TDataSetState::dsInsert;
  return table_.State() == TDataSetState::dsEdit && table_.RecordId() == step.Record;
}

bool TUndoHistory::EditStepRecord(const TStep& step) {
  if (EditingStepRecord(step)) return true;
  if (step.Record == 0) {
    table_.Insert();  // a handler may store the new record at once: its edit state then follows
    return true;
  }
  if (!table_.LocateRecord(step.Record)) return false;
  table_.Edit();
  return true;
}

bool TUndoHistory::Undo() {
  if (undo_.empty()) return false;
  TStep step = undo_.back();
  if (step.Deleted) {
    const TRecordId restored = table_.RestoreRecord(step.Values, step.Record);
    // Older steps of the record now name it by its new identity.
    if (restored != step.Record)
      for (TStep& older : undo_)
        if (older.Record == step.Record && &older != &undo_.back()) older.Record = restored;
    step.Record = restored;
  } else {
    if (!EditStepRecord(step)) {
      undo_.pop_back();
      Changed();
      return false;
    }
    const auto& fields = table_.Fields();
    for (std::size_t i = 0; i < fields.size() && i < step.Written.size(); ++i)
      if (step.Written[i]) fields[i]->SetStored(step.Values[i]);
  }
  undo_.pop_back();
  redo_.push_back(std::move(step));
  Changed();
  return true;
}

bool TUndoHistory::Redo() {
  if (redo_.empty()) return false;
  const TStep step = redo_.back();
  redo_.pop_back();
  bool applied = false;
  redoing_ = true;
  try {
    if (step.Deleted) {
      if (table_.LocateRecord(step.Record)) {
        table_.Delete();
        applied = true;
      }
    } else if (EditingStepRecord(step)) {
      table_.Cancel();
      applied = true;
    }
  } catch (...) {
    redoing_ = false;
    redo_.push_back(step);
    throw;
  }
  redoing_ = false;
  Changed();
  return applied;
}

}  // namespace pagolin
