// TDBRichEdit: the rich-text editor on a memo field of the current record (the binding rules
// are in dbbinding.h). In rich mode the field holds RTF, in plain mode plain text with CR LF
// line ends; a record shown and left without an edit keeps its stored bytes.
#pragma once

#include <string>

#include "gui/widgets/dbbinding.h"
#include "gui/widgets/richedit.h"

namespace pagolin {

class TDBRichEdit : public TRichEdit, public TDBFieldProperties {
  Q_OBJECT

 public:
  explicit TDBRichEdit(QWidget* parent = nullptr);

  // The field's read-only property rules the editor (the binding makes the editor follow it).
  using TDBFieldProperties::ReadOnly;
  using TDBFieldProperties::SetReadOnly;

 protected:
  bool InEditState() const override;
  void EnterEditState() override;
};

}  // namespace pagolin
