// TDBFieldBinding: ties one Qt control to one field through the core's TFieldDataLink, for
// every data-aware control alike (edit, memo, check box, rich editor). The control supplies:
//   show(field)     shows the field's value (field is nullptr when there is none: show empty),
//   write(field)    writes what the control holds into the field,
//   setReadOnly(b)  makes the control read-only or editable,
// and calls UserChanged() after each change the person makes. The binding then keeps the
// link's rules: the first change puts the data set into the edit state, keeping the control's
// content; the pending value is written before a post and when focus leaves the control
// (without posting); Escape drops the pending change; errors go to the standard error box and
// the control keeps its text. A rich editor binds the same way: show loads the stored text,
// write stores the editor's text, its change signal calls UserChanged(), and its hook for
// entering the edit state before a change (which must keep caret and selection) calls Edit().
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "core/platform/fielddatalink.h"

namespace pagolin {

class TDBFieldBinding : public QObject {
  Q_OBJECT

 public:
  TDBFieldBinding(QWidget* control, std::function<void(const TField* field)> show,
                  std::function<void(TField& field)> write, std::function<void(bool readOnly)> setReadOnly);

  // The binding of a data-aware control (how a shared popup menu reaches it); nullptr for any
  // other widget.
  static TDBFieldBinding* Of(const QWidget* control);

  TFieldDataLink& DataLink() { return link_; }
  const TFieldDataLink& DataLink() const { return link_; }

  // While show() runs: a control tells its own changes from the person's by this.
  bool Loading() const { return loading_; }

  // Puts the data set into the edit state without touching what the control shows (text,
  // caret, selection). False, with the error shown when there was one, when it cannot.
  bool Edit();
  // After each change the person made: enters the edit state and marks the change pending;
  // when the link cannot modify, the control shows the field again.
  void UserChanged();
  // Writes the pending change into the record now; false (error shown, change kept) when the
  // field refuses it.
  bool UpdateRecord();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> control_;
  TFieldDataLink link_;
  std::function<void(const TField*)> show_;
  bool loading_ = false;
};

// The properties every data-aware control offers, kept by its binding (set it in the
// control's constructor).
class TDBFieldProperties {
 public:
  void SetDataSource(TDataSource* source) { binding_->DataLink().SetDataSource(source); }
  TDataSource* DataSource() const { return binding_->DataLink().DataSource(); }
  void SetDataField(const std::string& name) { binding_->DataLink().SetFieldName(name); }
  const std::string& DataField() const { return binding_->DataLink().FieldName(); }
  // A read-only control shows its field and never changes it.
  void SetReadOnly(bool readOnly) { binding_->DataLink().SetReadOnly(readOnly); }
  bool ReadOnly() const { return binding_->DataLink().ReadOnly(); }
  TField* Field() const { return binding_->DataLink().Field(); }
  TDBFieldBinding* Binding() const { return binding_; }

 protected:
  TDBFieldBinding* binding_ = nullptr;
};

}  // namespace pagolin
