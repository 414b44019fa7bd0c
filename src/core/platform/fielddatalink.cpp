#include "core/platform/fielddatalink.h"

namespace pagolin {

void TFieldDataLink::SetDataSource(TDataSource* source) {
  if (source == link_.Source()) return;
  link_.Connect(
      source, [this](TDataEvent event, const TField* field) { DataEvent(event, field); },
      [this] { ShowField(); });
  ShowField();
}

void TFieldDataLink::SetFieldName(const std::string& name) {
  fieldName_ = name;
  ShowField();
}

TTable* TFieldDataLink::DataSet() const { return link_.Source() ? link_.Source()->DataSet() : nullptr; }

TField* TFieldDataLink::Field() const {
  TTable* table = DataSet();
  if (!table || !table->Active() || fieldName_.empty()) return nullptr;
  return table->FindField(fieldName_);
}

void TFieldDataLink::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  if (OnEditingChange) OnEditingChange();
}

bool TFieldDataLink::Editing() const {
  const TTable* table = DataSet();
  return table && (table->State() == TDataSetState::dsEdit || table->State() == TDataSetState::dsInsert);
}

bool TFieldDataLink::Edit() {
  if (!CanModify()) return false;
  if (Editing()) return true;
  // An empty table inserts, and a state-change handler may post and edit again: the control
  // keeps what the person just typed through all of it.
  entering_ = true;
  try {
    DataSet()->Edit();
  } catch (...) {
    entering_ = false;
    throw;
  }
  entering_ = false;
  return Editing();
}

void TFieldDataLink::Modified() { modified_ = true; }

void TFieldDataLink::Reset() { ShowField(); }

void TFieldDataLink::UpdateRecord() {
  if (!modified_ || !Editing() || !Field()) return;
  writing_ = true;
  try {
    if (OnUpdateData) OnUpdateData();
  } catch (...) {
    writing_ = false;
    throw;
  }
  writing_ = false;
  modified_ = false;
}

void TFieldDataLink::ShowField() {
  modified_ = false;
  if (OnDataChange) OnDataChange();
  if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::DataEvent(TDataEvent event, const TField* field) {
  switch (event) {
    case TDataEvent::deUpdateRecord: UpdateRecord(); break;
    case TDataEvent::deFieldChange:
      // Another control (or code) wrote this field: show it. Our own write is already shown.
      if (!writing_ && field && field->FieldName() == fieldName_ && !entering_) ShowField();
      break;
    case TDataEvent::deRecordChange:
    case TDataEvent::deDataSetChange:
      if (!entering_) ShowField();
      break;
    case TDataEvent::deStateChange:
      if (OnEditingChange) OnEditingChange();
      break;
  }
}

}  // namespace pagolin
