// TField (values of the current record, converted between the file's form and the core's) and
// TDataSource (hands a table's events to bound controls and to its own handlers).
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "core/platform/codepage.h"
#include "core/platform/ttable.h"

namespace pagolin {

bool ParseLogical(const std::string& text, bool& value) {
  std::string t;
  for (char c : text) t += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (t == "true" || t == "yes" || t == "1") {
    value = true;
    return true;
  }
  if (t == "false" || t == "no" || t == "0") {
    value = false;
    return true;
  }
  return false;
}

// ---- TField ------------------------------------------------------------------------------

bool TField::IsNull() const {
  const auto* v = table_->CurrentValue(index_);
  return !v || !*v;
}

std::string TField::AsString() const {
  const auto* v = table_->CurrentValue(index_);
  if (!v || !*v) return {};
  switch (kind_) {
    case TFieldKind::fkLogical:
      return AsBoolean() ? "True" : "False";
    case TFieldKind::fkDateTime: {
      TDateTime dt = 0;
      if (!StorageTextToDateTime(**v, dt)) return Utf8ToAnsi(**v);  // not ours: shown as it is
      return FormatDateTime("c", dt);
    }
    default:
      return Utf8ToAnsi(**v);
  }
}

bool TField::AsBoolean() const {
  const auto* v = table_->CurrentValue(index_);
  if (!v || !*v) return false;
  bool b = false;
  if (ParseLogical(**v, b)) return b;
  return std::atoll((*v)->c_str()) != 0;
}

TDateTime TField::AsDateTime() const {
  const auto* v = table_->CurrentValue(index_);
  TDateTime dt = 0;
  if (!v || !*v || !StorageTextToDateTime(**v, dt)) return 0;
  return dt;
}

void TField::SetAsString(const std::string& value) {
  if (value.empty()) {
    Clear();
    return;
  }
  switch (kind_) {
    case TFieldKind::fkLogical: {
      bool b = false;
      if (!ParseLogical(value, b))
        throw EDatabaseError("\"" + value + "\" is not a valid logical value for the field \"" + name_ + "\".");
      SetAsBoolean(b);
      return;
    }
    case TFieldKind::fkDateTime: {
      TDateTime dt = 0;
      if (!StorageTextToDateTime(value, dt) && !TryStrToDateTime(value, dt))
        throw EDatabaseError("\"" + value + "\" is not a valid date and time for the field \"" + name_ + "\".");
      SetAsDateTime(dt);
      return;
    }
    default:
      table_->WriteValue(*this, AnsiToUtf8(value));
  }
}

void TField::SetAsBoolean(bool value) { table_->WriteValue(*this, std::string(value ? "1" : "0")); }

void TField::SetAsDateTime(TDateTime value) { table_->WriteValue(*this, DateTimeToStorageText(value)); }

void TField::Clear() { table_->WriteValue(*this, std::nullopt); }

// ---- TDataSource -------------------------------------------------------------------------

TDataSource::TDataSource(TTable* dataSet) : dataSet_(dataSet) {
  if (dataSet_) dataSet_->Attach(this);
}

TDataSource::~TDataSource() {
  if (dataSet_) dataSet_->Detach(this);
}

int TDataSource::AddLink(std::function<void(TDataEvent event, const TField* field)> link) {
  links_.emplace_back(nextHandle_, std::move(link));
  return nextHandle_++;
}

void TDataSource::RemoveLink(int handle) {
  links_.erase(std::remove_if(links_.begin(), links_.end(),
                              [handle](const auto& l) { return l.first == handle; }),
               links_.end());
}

void TDataSource::Notify(TDataEvent event, const TField* field) {
  // Bound controls first, then the data source's own handlers.
  const auto links = links_;
  for (const auto& link : links) link.second(event, field);
  switch (event) {
    case TDataEvent::deStateChange:
      if (OnStateChange) OnStateChange(*this);
      break;
    case TDataEvent::deFieldChange:
      if (OnDataChange) OnDataChange(*this, field);
      break;
    case TDataEvent::deRecordChange:
    case TDataEvent::deDataSetChange:
      if (OnDataChange) OnDataChange(*this, nullptr);
      break;
    case TDataEvent::deUpdateRecord:
      break;
  }
}

}  // namespace pagolin
