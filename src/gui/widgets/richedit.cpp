#include "gui/widgets/richedit.h"

#include "core/richtext/rtfreader.h"
#include "core/richtext/rtfwriter.h"
#include "gui/components/qtext.h"
#include "gui/widgets/richtextbridge.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <vector>

namespace pagolin {

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent) {
  // The face and size of new text, as the rich editor's texts use them.
  document()->setDefaultFont(QFont(ToQ(kDefaultFace), 10));
  connect(document(), &QTextDocument::contentsChanged, this, [this] {
    if (!loading_) emit OnChange();
  });
}

void TRichEdit::LoadText(const std::string& stored) {
  loading_ = true;
  stored_ = stored;
  LoadRichDoc(*document(), plainText_ ? PlainTextDoc(stored) : ReadStoredText(stored));
  setTextCursor(QTextCursor(document()));
  loading_ = false;
}

std::string TRichEdit::StoredText() const {
  if (!Modified()) return stored_;
  const TRichDoc doc = SaveRichDoc(*document());
  return plainText_ ? pagolin::PlainText(doc) : WriteRtf(doc);
}

bool TRichEdit::Modified() const { return document()->isModified(); }

void TRichEdit::SetPlainText(bool plain) {
  plainText_ = plain;
  setAcceptRichText(!plain);
}

void TRichEdit::PrepareEdit() {
  if (InEditState()) return;
  const QTextCursor saved = textCursor();
  const int anchor = saved.anchor();
  const int position = saved.position();
  EnterEditState();
  // Entering the edit state may have loaded the text anew.
  const int end = TextLength();
  QTextCursor restored(document());
  restored.setPosition(std::min(anchor, end));
  restored.setPosition(std::min(position, end), QTextCursor::KeepAnchor);
  setTextCursor(restored);
}

bool TRichEdit::BeginChange() {
  if (ReadOnly()) return false;
  PrepareEdit();
  return true;
}

bool TRichEdit::BeginFormat() { return CanFormat() && BeginChange(); }

void TRichEdit::Undo() {
  if (BeginChange()) undo();
}

void TRichEdit::Cut() {
  if (BeginChange()) cut();
}

void TRichEdit::Copy() { copy(); }

void TRichEdit::Paste() {
  if (BeginChange()) paste();
}

void TRichEdit::ClearSelection() {
  if (!BeginChange()) return;
  QTextCursor cursor = textCursor();
  cursor.removeSelectedText();
  setTextCursor(cursor);
}

void TRichEdit::InsertText(const QString& text) {
  if (!BeginChange()) return;
  QTextCursor cursor = textCursor();
  cursor.insertText(text);
  setTextCursor(cursor);
}

void TRichEdit::SelectAll() { selectAll(); }

void TRichEdit::MergeFormat(const QTextCharFormat& modifier) { mergeCurrentCharFormat(modifier); }

void TRichEdit::ToggleBold() {
  if (!BeginFormat()) return;
  QTextCharFormat f;
  f.setFontWeight(SelectionBold() ? QFont::Normal : QFont::Bold);
  MergeFormat(f);
}

void TRichEdit::ToggleItalic() {
  if (!BeginFormat()) return;
  QTextCharFormat f;
  f.setFontItalic(!SelectionItalic());
  MergeFormat(f);
}

void TRichEdit::ToggleUnderline() {
  if (!BeginFormat()) return;
  QTextCharFormat f;
  f.setFontUnderline(!SelectionUnderline());
  MergeFormat(f);
}

void TRichEdit::SetParagraphAlignment(TParaAlignment alignment) {
  if (!BeginFormat()) return;
  setAlignment(alignment == TParaAlignment::Center  ? Qt::AlignHCenter
               : alignment == TParaAlignment::Right ? Qt::AlignRight
                                                    : Qt::AlignLeft);
}

void TRichEdit::ToggleBullet() {
  if (!BeginFormat()) return;
  QTextCursor cursor = textCursor();
  cursor.beginEditBlock();
  if (!ParagraphBullet()) {
    cursor.createList(QTextListFormat::ListDisc);
  } else {
    // Every selected paragraph leaves its list, without the indent a list item had.
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    for (QTextBlock block = document()->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
      QTextBlockFormat format = block.blockFormat();
      format.setObjectIndex(-1);
      format.setIndent(0);
      QTextCursor(block).setBlockFormat(format);
      if (block == last) break;
    }
  }
  cursor.endEditBlock();
}

void TRichEdit::SetSelectionFont(const QFont& font) {
  if (!BeginFormat()) return;
  QTextCharFormat f;
  f.setFontFamilies(QStringList{font.family()});
  if (font.pointSizeF() > 0) f.setFontPointSize(font.pointSizeF());
  f.setFontWeight(font.bold() ? QFont::Bold : QFont::Normal);
  f.setFontItalic(font.italic());
  f.setFontUnderline(font.underline());
  MergeFormat(f);
}

void TRichEdit::SetSelectionColor(const std::optional<QColor>& color) {
  if (!BeginFormat()) return;
  if (color) {
    QTextCharFormat f;
    f.setForeground(*color);
    MergeFormat(f);
    return;
  }
  // A merge cannot remove a property: each format of the selection is replaced by itself
  // without a colour.
  QTextCursor cursor = textCursor();
  if (!cursor.hasSelection()) {
    QTextCharFormat f = currentCharFormat();
    f.clearForeground();
    setCurrentCharFormat(f);
    return;
  }
  struct TPiece {
    int from, to;
    QTextCharFormat format;
  };
  std::vector<TPiece> pieces;
  const int start = cursor.selectionStart();
  const int end = cursor.selectionEnd();
  for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
       block = block.next()) {
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int from = std::max(fragment.position(), start);
      const int to = std::min(fragment.position() + fragment.length(), end);
      if (from < to) pieces.push_back({from, to, fragment.charFormat()});
    }
  }
  cursor.beginEditBlock();
  for (TPiece& piece : pieces) {
    piece.format.clearForeground();
    QTextCursor range(document());
    range.setPosition(piece.from);
    range.setPosition(piece.to, QTextCursor::KeepAnchor);
    range.setCharFormat(piece.format);
  }
  cursor.endEditBlock();
}

QTextCharFormat TRichEdit::SelectionFormat() const {
  const QTextCursor cursor = textCursor();
  if (!cursor.hasSelection()) return cursor.charFormat();
  QTextCursor first(document());
  first.setPosition(cursor.selectionStart() + 1);  // the format of the character before
  return first.charFormat();
}

QFont TRichEdit::SelectionFont() const {
  // What the format leaves open is the document's default font.
  return SelectionFormat().font().resolve(document()->defaultFont());
}

std::optional<QColor> TRichEdit::SelectionColor() const {
  const QTextCharFormat f = SelectionFormat();
  if (f.foreground().style() == Qt::NoBrush) return std::nullopt;
  return f.foreground().color();
}

bool TRichEdit::SelectionBold() const { return SelectionFormat().fontWeight() > QFont::Medium; }
bool TRichEdit::SelectionItalic() const { return SelectionFormat().fontItalic(); }
bool TRichEdit::SelectionUnderline() const { return SelectionFormat().fontUnderline(); }

TParaAlignment TRichEdit::ParagraphAlignment() const {
  const Qt::Alignment a = textCursor().blockFormat().alignment();
  if (a & Qt::AlignHCenter) return TParaAlignment::Center;
  if (a & (Qt::AlignRight | Qt::AlignTrailing)) return TParaAlignment::Right;
  return TParaAlignment::Left;
}

bool TRichEdit::ParagraphBullet() const { return textCursor().currentList() != nullptr; }

int TRichEdit::SelectionLength() const {
  const QTextCursor cursor = textCursor();
  return cursor.selectionEnd() - cursor.selectionStart();
}

int TRichEdit::TextLength() const { return document()->characterCount() - 1; }

bool TRichEdit::CanUndo() const { return document()->isUndoAvailable(); }

void TRichEdit::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::ControlModifier && CanFormat()) {
    switch (event->key()) {
      case Qt::Key_B: ToggleBold(); return;
      case Qt::Key_I: ToggleItalic(); return;
      case Qt::Key_U: ToggleUnderline(); return;
      default: break;
    }
  }
  QTextEdit::keyPressEvent(event);
}

}  // namespace pagolin
