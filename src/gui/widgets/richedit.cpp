#include "gui/widgets/richedit.h"

#include "core/richtext/rtfreader.h"
#include "core/richtext/rtfwriter.h"
#include "gui/components/qtext.h"
#include "gui/widgets/richtextbridge.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QStatusTipEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>

#include <algorithm>
#include <tuple>
#include <vector>

namespace pagolin {
namespace {

// The pictures of a document: its characters in an image format.
int CountPictures(const QTextDocument& document) {
  int count = 0;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isImageFormat()) count += it.fragment().length();
  }
  return count;
}

}  // namespace

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
  ChangeFormats(cursor.selectionStart(), cursor.selectionEnd(),
                [](QTextCharFormat& f) { f.clearForeground(); });
}

void TRichEdit::ForEachPiece(int from, int to,
                             const std::function<void(int, int, const QTextCharFormat&)>& fn) const {
  for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to;
       block = block.next()) {
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int start = std::max(fragment.position(), from);
      const int end = std::min(fragment.position() + fragment.length(), to);
      if (start < end) fn(start, end, fragment.charFormat());
    }
  }
}

void TRichEdit::ChangeFormats(int from, int to, const std::function<void(QTextCharFormat&)>& change) {
  struct TPiece {
    int from, to;
    QTextCharFormat format;
  };
  std::vector<TPiece> pieces;
  ForEachPiece(from, to, [&](int start, int end, const QTextCharFormat& format) {
    pieces.push_back({start, end, format});
  });
  QTextCursor cursor = textCursor();
  cursor.beginEditBlock();
  for (TPiece& piece : pieces) {
    change(piece.format);
    QTextCursor range(document());
    range.setPosition(piece.from);
    range.setPosition(piece.to, QTextCursor::KeepAnchor);
    range.setCharFormat(piece.format);
  }
  cursor.endEditBlock();
}

std::pair<int, int> TRichEdit::LinkAt(int position) const {
  const QTextBlock block = document()->findBlock(position);
  // The fragments of the block, and the one holding the link: the character before the
  // position, else the one after.
  std::vector<QTextFragment> fragments;
  int found = -1;
  for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment f = it.fragment();
    const bool link = !f.charFormat().anchorHref().isEmpty();
    if (link && f.position() < position && position <= f.position() + f.length())
      found = static_cast<int>(fragments.size());
    else if (link && found < 0 && f.position() == position)
      found = static_cast<int>(fragments.size());
    fragments.push_back(f);
  }
  if (found < 0) return {position, position};
  // Neighbouring fragments of the same address are one link.
  const QString href = fragments[static_cast<size_t>(found)].charFormat().anchorHref();
  int first = found, last = found;
  while (first > 0 && fragments[static_cast<size_t>(first - 1)].charFormat().anchorHref() == href) --first;
  while (last + 1 < static_cast<int>(fragments.size()) &&
         fragments[static_cast<size_t>(last + 1)].charFormat().anchorHref() == href)
    ++last;
  const QTextFragment& end = fragments[static_cast<size_t>(last)];
  return {fragments[static_cast<size_t>(first)].position(), end.position() + end.length()};
}

void TRichEdit::SetLink(const QString& address) {
  if (!BeginFormat()) return;
  QTextCharFormat link;
  link.setAnchor(true);
  link.setAnchorHref(address);
  link.setFontUnderline(true);
  link.setForeground(palette().color(QPalette::Link));
  QTextCursor cursor = textCursor();
  if (!cursor.hasSelection()) {
    const auto [from, to] = LinkAt(cursor.position());
    if (from == to) {
      // The address itself becomes the link's text; what is typed next is no longer the link.
      const QTextCharFormat before = cursor.charFormat();
      QTextCharFormat text = before;
      text.merge(link);
      cursor.insertText(address, text);
      setTextCursor(cursor);
      setCurrentCharFormat(before);
      return;
    }
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
  }
  cursor.mergeCharFormat(link);
}

void TRichEdit::RemoveLink() {
  if (!BeginFormat()) return;
  const QTextCursor cursor = textCursor();
  auto [from, to] = std::pair(cursor.selectionStart(), cursor.selectionEnd());
  if (from == to) std::tie(from, to) = LinkAt(from);
  ChangeFormats(from, to, [this](QTextCharFormat& f) { DropLink(f); });
}

void TRichEdit::DropLink(QTextCharFormat& format) const {
  if (format.anchorHref().isEmpty()) return;
  format.setAnchor(false);
  format.clearProperty(QTextFormat::AnchorHref);
  format.setFontUnderline(false);
  if (format.foreground().style() != Qt::NoBrush &&
      format.foreground().color() == palette().color(QPalette::Link))
    format.clearForeground();
}

QString TRichEdit::SelectionLink() const {
  const QTextCursor cursor = textCursor();
  const auto [from, to] = LinkAt(cursor.hasSelection() ? cursor.selectionStart() + 1 : cursor.position());
  if (from == to) return {};
  QTextCursor link(document());
  link.setPosition(from + 1);
  return link.charFormat().anchorHref();
}

bool TRichEdit::SelectionHasLink() const {
  const QTextCursor cursor = textCursor();
  if (!cursor.hasSelection()) return !SelectionLink().isEmpty();
  bool link = false;
  ForEachPiece(cursor.selectionStart(), cursor.selectionEnd(), [&](int, int, const QTextCharFormat& format) {
    link = link || !format.anchorHref().isEmpty();
  });
  return link;
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
  // Text typed just behind a link is no part of it, nor does it look like one.
  const QTextCursor cursor = textCursor();
  if (!event->text().isEmpty() && event->text().front().isPrint() && !cursor.hasSelection() &&
      !cursor.atBlockStart() && CanFormat()) {
    const auto [from, to] = LinkAt(cursor.position());
    if (from < to && to == cursor.position()) {
      QTextCharFormat format = cursor.charFormat();
      DropLink(format);
      setCurrentCharFormat(format);
    }
  }
  QTextEdit::keyPressEvent(event);
}

void TRichEdit::insertFromMimeData(const QMimeData* source) {
  std::optional<QTextDocument> pasted;
  int pictures = source->hasImage() ? 1 : 0;
  if (source->hasHtml()) {
    pasted.emplace();
    pasted->setDefaultFont(document()->defaultFont());
    pasted->setHtml(source->html());
    pictures = std::max(pictures, CountPictures(*pasted));
  }
  if (pictures > 0) {
    // Said where the window says what happens; the picture is not pasted.
    QStatusTipEvent note(QStringLiteral("Pictures are not kept in descriptions; use the Screenshot field"));
    QCoreApplication::sendEvent(window(), &note);
  }
  QTextCursor cursor = textCursor();
  if (pasted && !plainText_) {
    QTextDocument kept;
    kept.setDefaultFont(document()->defaultFont());
    LoadRichDoc(kept, SaveRichDoc(*pasted));
    cursor.insertFragment(QTextDocumentFragment(&kept));
  } else if (source->hasText()) {
    cursor.insertText(source->text());
  }
  setTextCursor(cursor);
  ensureCursorVisible();
}

}  // namespace pagolin
