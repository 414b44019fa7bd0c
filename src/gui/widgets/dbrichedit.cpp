#include "gui/widgets/dbrichedit.h"

namespace pagolin {

TDBRichEdit::TDBRichEdit(QWidget* parent) : TRichEdit(parent) {
  binding_ = new TDBFieldBinding(
      this, [this](const TField* field) { LoadText(field ? field->AsString() : std::string()); },
      [this](TField& field) { field.SetAsString(StoredText()); },
      [this](bool readOnly) { TRichEdit::SetReadOnly(readOnly); });
  TRichEdit::SetReadOnly(true);
  connect(this, &TRichEdit::OnChange, this, [this] { binding_->UserChanged(); });
}

bool TDBRichEdit::InEditState() const { return binding_->DataLink().Editing(); }

void TDBRichEdit::EnterEditState() { binding_->Edit(); }

}  // namespace pagolin
