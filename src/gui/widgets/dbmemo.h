// TDBMemo: a plain-text editor on a memo field of the current record (the binding rules are in
// dbbinding.h). The field keeps CR LF line breaks; the editor shows them as lines.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "gui/widgets/dbbinding.h"

namespace pagolin {

// The memo's stored text and the editor's text (CR LF <-> LF).
QString MemoToEditorText(const std::string& stored);
std::string EditorTextToMemo(const QString& text);

class TDBMemo : public QPlainTextEdit, public TDBFieldProperties {
  Q_OBJECT

 public:
  explicit TDBMemo(QWidget* parent = nullptr);
};

}  // namespace pagolin
