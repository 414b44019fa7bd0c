// TDBEdit: a one-line text box on a field of the current record (the binding rules are in
// dbbinding.h). Change() fires whenever the text changes: typed, or shown for another record.
#pragma once

#include <QLineEdit>
#include <string>

#include "gui/components/nvbfbtn.h"
#include "gui/widgets/dbbinding.h"

namespace pagolin {

class TDBEdit : public QLineEdit, public IDataAwareEdit, public TDBFieldProperties {
  Q_OBJECT

 public:
  explicit TDBEdit(QWidget* parent = nullptr);

  // For the file-browse button: the chosen text arrives as if typed.
  bool DataSetInEditState() const override { return binding_->DataLink().Editing(); }
  void EditDataSet() override { binding_->Edit(); }
  void SetEditText(const QString& text) override;

 signals:
  void Change();  // OnChange
};

}  // namespace pagolin
