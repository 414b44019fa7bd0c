// TDBCheckBox: a check box on a logical field of the current record; NULL reads unchecked.
// A click by the person puts the data set into the edit state and writes the field at once
// (nothing is posted); Click() then fires.
#pragma once

#include <QCheckBox>
#include <string>

#include "gui/widgets/dbbinding.h"

namespace pagolin {

class TDBCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  explicit TDBCheckBox(QWidget* parent = nullptr) : TDBCheckBox(QString(), parent) {}
  TDBCheckBox(const QString& caption, QWidget* parent);

  void SetDataSource(TDataSource* source) { binding_->DataLink().SetDataSource(source); }
  TDataSource* DataSource() const { return binding_->DataLink().DataSource(); }
  void SetDataField(const std::string& name) { binding_->DataLink().SetFieldName(name); }
  const std::string& DataField() const { return binding_->DataLink().FieldName(); }
  void SetReadOnly(bool readOnly) { binding_->DataLink().SetReadOnly(readOnly); }
  bool ReadOnly() const { return binding_->DataLink().ReadOnly(); }
  TField* Field() const { return binding_->DataLink().Field(); }

 signals:
  void Click();  // OnClick: the person changed the box

 private:
  TDBFieldBinding* binding_;
};

}  // namespace pagolin
