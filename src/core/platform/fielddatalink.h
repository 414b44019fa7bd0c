// TFieldDataLink: what ties one data-aware control to one field of a data source, without the
// control. The control shows the field when told (OnDataChange), writes what it holds when told
// (OnUpdateData), and reports each change the person makes (Modified). The link keeps the rules
// every such control keeps:
//  - it shows the current record's field and follows moves, refreshes, cancels, posts, and
//    writes of its field by anyone else;
//  - the first change puts the data set into the edit state (Edit), so the data module's rules
//    run; what the control shows is kept through that, even when editing an empty table
//    inserts a record or a state-change handler stores the new record at once;
//  - the pending value is written when the data set asks before a post, and by UpdateRecord
//    (when focus leaves the control); the link itself never posts;
//  - a post that fails keeps the pending value and the control's text.
#pragma once

#include <functional>
#include <string>

#include "core/platform/datasourcelink.h"

namespace pagolin {

class TFieldDataLink {
 public:
  TFieldDataLink() = default;
  TFieldDataLink(const TFieldDataLink&) = delete;
  TFieldDataLink& operator=(const TFieldDataLink&) = delete;

  // Both may be set in any order; each change makes the control show the field again. A data
  // source destroyed before the link leaves the link without one.
  void SetDataSource(TDataSource* source);
  TDataSource* DataSource() const { return link_.Source(); }
  void SetFieldName(const std::string& name);
  const std::string& FieldName() const { return fieldName_; }

  TTable* DataSet() const;
  // The bound field; nullptr while there is no data source, the table is closed or it has no
  // field of that name.
  TField* Field() const;
  bool Active() const { return Field() != nullptr; }

  // A read-only link never enters the edit state.
  void SetReadOnly(bool readOnly);
  bool ReadOnly() const { return readOnly_; }
  bool CanModify() const { return !readOnly_ && Active(); }
  // The data set is in the edit or insert state.
  bool Editing() const;

  // Puts the data set into the edit state unless it is in it already; false when the link
  // cannot modify. The control is not told to show the field while this happens, so its text,
  // caret and selection stay. EDatabaseError from the table propagates.
  bool Edit();
  // The person changed the control's value; the change is pending until written.
  void Modified();
  bool IsModified() const { return modified_; }
  // Drops the pending change: the control shows the field again.
  void Reset();
  // Writes the pending change into the field now. When the field refuses the value
  // (EDatabaseError, e.g. a date that cannot be read) the error propagates and the change
  // stays pending.
  void UpdateRecord();

  // Show Field() (or nothing when it is nullptr). Not called for the link's own writes.
  std::function<void()> OnDataChange;
  // Write the control's value into Field(); the data set is in the edit state.
  std::function<void()> OnUpdateData;
  // Editing() or CanModify() may have changed (a control greys out or turns read-only).
  std::function<void()> OnEditingChange;

 private:
  void DataEvent(TDataEvent event, const TField* field);
  void ShowField();

  TDataSourceLink link_;
  std::string fieldName_;
  bool readOnly_ = false;
  bool modified_ = false;
  bool entering_ = false;  // inside Edit(): keep what the control shows
  bool writing_ = false;   // inside UpdateRecord(): the field change is our own
};

}  // namespace pagolin
