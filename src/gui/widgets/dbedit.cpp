#include "gui/widgets/dbedit.h"

#include "gui/components/qtext.h"

namespace pagolin {

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent) {
  binding_ = new TDBFieldBinding(
      this, [this](const TField* field) { setText(field ? ToQ(field->AsString()) : QString()); },
      [this](TField& field) { field.SetAsString(FromQ(text())); },
      [this](bool readOnly) { setReadOnly(readOnly); });
  setReadOnly(true);
  connect(this, &QLineEdit::textEdited, this, [this] { binding_->UserChanged(); });
  connect(this, &QLineEdit::textChanged, this, &TDBEdit::Change);
}

void TDBEdit::SetEditText(const QString& text) {
  setText(text);
  binding_->UserChanged();
}

}  // namespace pagolin
