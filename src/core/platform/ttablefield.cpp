// TField (values of the current record, converted between the file's form and the core's) and
// TDataSource (hands a table's events to bound controls and to its own handlers).
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/platform/inifile.h"
#include "core/platform/ttable.h"
#include "core/platform/utf8.h"

namespace pagolin {

bool ParseLogical(const std::string& text, bool& value) {
  if (SameText(text, "true") || SameText(text, "yes") || text == "1") {
    value = true;
    return true;
  }
  if (SameText(text, "false") || SameText(text, "no") || text == "0") {
    value = false;
    return true;
  }
  return false;
}

// ---- readings shared by TField and TRecordValues ------------------------------------------

namespace {

using TStored = std::optional<std::string>;

bool StoredAsBoolean(const TStored* v) {
  if (!v || !*v) return false;
  bool b = false;
  if (ParseLogical(**v, b)) return b;
  return std::atoll((*v)->c_str()) != 0;
}

TDateTime StoredAsDateTime(const TStored* v) {
  TDateTime dt = 0;
  if (!v || !*v || !StorageTextToDateTime(**v, dt)) return 0;
  return dt;
}

std::string StoredAsString(TFieldKind kind, const TStored* v) {
  if (!v || !*v) return {};
  switch (kind) {
    case TFieldKind::fkLogical: return StoredAsBoolean(v) ? "True" : "False";
    case TFieldKind::fkDateTime: {
      TDateTime dt = 0;
      if (!StorageTextToDateTime(**v, dt)) return ValidUtf8(**v);  // not ours: shown as it is
      return FormatDateTime("c", dt);
    }
    default: return ValidUtf8(**v);
  }
}

}  // namespace

// ---- TField ------------------------------------------------------------------------------

bool TField::IsNull() const {
  const auto* v = table_->CurrentValue(index_);
  return !v || !*v;
}

std::string TField::AsString() const { return StoredAsString(kind_, table_->CurrentValue(index_)); }

bool TField::AsBoolean() const { return StoredAsBoolean(table_->CurrentValue(index_)); }

TDateTime TField::AsDateTime() const { return StoredAsDateTime(table_->CurrentValue(index_)); }

TStoredValue TField::StoredFormOf(const std::string& value) const {
  if (value.empty()) return std::nullopt;
  switch (kind_) {
    case TFieldKind::fkLogical: {
      bool b = false;
      if (!ParseLogical(value, b))
        throw EDatabaseError("\"" + value + "\" is not a valid logical value for the field \"" + name_ +
                             "\".");
      return std::string(b ? "1" : "0");
    }
    case TFieldKind::fkDateTime: {
      TDateTime dt = 0;
      if (!StorageTextToDateTime(value, dt) && !TryStrToDateTime(value, dt))
        throw EDatabaseError("\"" + value + "\" is not a valid date and time for the field \"" + name_ +
                             "\".");
      return DateTimeToStorageText(dt);
    }
    default: return ValidUtf8(value);
  }
}

void TField::SetAsString(const std::string& value) { table_->WriteValue(*this, StoredFormOf(value)); }

TStoredValue TField::Stored() const {
  const TStored* v = table_->CurrentValue(index_);
  return v ? *v : std::nullopt;
}

void TField::SetStored(TStoredValue value) { table_->WriteValue(*this, std::move(value)); }

void TField::SetAsBoolean(bool value) { table_->WriteValue(*this, std::string(value ? "1" : "0")); }

void TField::SetAsDateTime(TDateTime value) { table_->WriteValue(*this, DateTimeToStorageText(value)); }

void TField::Clear() { table_->WriteValue(*this, std::nullopt); }

// ---- TRecordValues ------------------------------------------------------------------------

namespace {
const TStored* StoredValue(const std::vector<TStored>& values, int field) {
  return field >= 0 && field < static_cast<int>(values.size()) ? &values[field] : nullptr;
}
}  // namespace

bool TRecordValues::IsNull(int field) const {
  const TStored* v = StoredValue(values_, field);
  return !v || !*v;
}

std::string TRecordValues::AsString(int field) const {
  const TStored* v = StoredValue(values_, field);
  return v ? StoredAsString(def_->fields[field].kind, v) : std::string();
}

TStoredValue TRecordValues::Stored(int field) const {
  const TStored* v = StoredValue(values_, field);
  return v ? *v : std::nullopt;
}

bool TRecordValues::AsBoolean(int field) const { return StoredAsBoolean(StoredValue(values_, field)); }

TDateTime TRecordValues::AsDateTime(int field) const { return StoredAsDateTime(StoredValue(values_, field)); }

std::string TRecordValues::DisplayText(int field) const {
  const TStored* v = StoredValue(values_, field);
  TDateTime dt = 0;
  if (!v || !*v || def_->fields[field].kind != TFieldKind::fkDateTime || !StorageTextToDateTime(**v, dt))
    return AsString(field);
  const TFormatSettings& fs = FormatSettings();
  std::string text = FormatDateTime(fs.ShortDateFormat, dt);
  double days = 0;
  if (std::modf(dt, &days) != 0) text += " " + FormatDateTime(fs.ShortTimeFormat, dt);
  return text;
}

// ---- TDataSource -------------------------------------------------------------------------

TDataSource::TDataSource(TTable* dataSet) : dataSet_(dataSet) {
  if (dataSet_) dataSet_->Attach(this);
}

TDataSource::~TDataSource() {
  if (dataSet_) dataSet_->Detach(this);
  const auto links = std::move(links_);
  for (const TLink& link : links)
    if (link.gone) link.gone();
}

int TDataSource::AddLink(std::function<void(TDataEvent event, const TField* field)> link,
                         std::function<void()> gone) {
  links_.push_back({nextHandle_, std::move(link), std::move(gone)});
  return nextHandle_++;
}

void TDataSource::RemoveLink(int handle) {
  links_.erase(
      std::remove_if(links_.begin(), links_.end(), [handle](const TLink& l) { return l.handle == handle; }),
      links_.end());
}

void TDataSource::Notify(TDataEvent event, const TField* field) {
  // Bound controls first, then the data source's own handlers. A link removed by an earlier
  // one (a control destroyed by a handler) is not called any more.
  const std::vector<TLink> links = links_;
  for (const TLink& link : links) {
    const bool present =
        std::any_of(links_.begin(), links_.end(), [&](const TLink& l) { return l.handle == link.handle; });
    if (present) link.event(event, field);
  }
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
    case TDataEvent::deUpdateRecord: break;
  }
}

}  // namespace pagolin
