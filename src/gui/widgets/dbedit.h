// TDBEdit: a one-line text box on a field of the current record (the binding rules are in
// dbbinding.h). Change() fires whenever the text changes: typed, or shown for another record.
#pragma once

#include <QLineEdit>
#include <string>

#include "gui/components/nvbfbtn.h"
#include "gui/widgets/dbbinding.h"

namespace pagolin {

class TDBEdit : public QLineEdit, public IDataAwareEdit {
  Q_OBJECT

 public:
  explicit TDBEdit(QWidget* parent = nullptr);

  void SetDataSource(TDataSource* source) { binding_->DataLink().SetDataSource(source); }
  TDataSource* DataSource() const { return binding_->DataLink().DataSource(); }
  void SetDataField(const std::string& name) { binding_->DataLink().SetFieldName(name); }
  const std::string& DataField() const { return binding_->DataLink().FieldName(); }
  void SetReadOnly(bool readOnly) { binding_->DataLink().SetReadOnly(readOnly); }
  bool ReadOnly() const { return binding_->DataLink().ReadOnly(); }
  TField* Field() const { return binding_->DataLink().Field(); }
  TDBFieldBinding* Binding() const { return binding_; }

  // For the file-browse button: the chosen text arrives as if typed.
  bool DataSetInEditState() const override { return binding_->DataLink().Editing(); }
  void EditDataSet() override { binding_->Edit(); }
  void SetEditText(const QString& text) override;

 signals:
  void Change();  // OnChange

 private:
  TDBFieldBinding* binding_;
};

}  // namespace pagolin
