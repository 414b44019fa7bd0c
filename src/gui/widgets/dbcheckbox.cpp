#include "gui/widgets/dbcheckbox.h"

namespace pagolin {

TDBCheckBox::TDBCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
  binding_ = new TDBFieldBinding(
      this, [this](const TField* field) { setChecked(field && field->AsBoolean()); },
      [this](TField& field) { field.SetAsBoolean(isChecked()); }, [](bool) {});
  connect(this, &QCheckBox::clicked, this, [this] {
    binding_->UserChanged();
    if (!binding_->DataLink().IsModified()) return;  // could not edit: the box shows the field again
    binding_->UpdateRecord();
    emit Click();
  });
}

}  // namespace pagolin
