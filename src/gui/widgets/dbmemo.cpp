#include "gui/widgets/dbmemo.h"

#include "gui/components/qtext.h"

namespace pagolin {

QString MemoToEditorText(const std::string& stored) {
  QString text = ToQ(stored);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

std::string EditorTextToMemo(const QString& text) {
  QString crlf = text;
  crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return FromQ(crlf);
}

TDBMemo::TDBMemo(QWidget* parent) : QPlainTextEdit(parent) {
  binding_ = new TDBFieldBinding(
      this,
      [this](const TField* field) { setPlainText(field ? MemoToEditorText(field->AsString()) : QString()); },
      [this](TField& field) { field.SetAsString(EditorTextToMemo(toPlainText())); },
      [this](bool readOnly) { setReadOnly(readOnly); });
  setReadOnly(true);
  connect(this, &QPlainTextEdit::textChanged, this, [this] { binding_->UserChanged(); });
}

}  // namespace pagolin
