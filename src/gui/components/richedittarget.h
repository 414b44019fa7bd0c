// TRichEditTarget: what the rich-edit popup menu needs of a rich editor, so that the menu (a
// component) does not depend on the editor widget built above it. TRichEdit implements it; the
// meaning of each command and state is the editor's (gui/widgets/richedit.h).
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

#include "core/richtext/richdoc.h"

class QTextEdit;

namespace pagolin {

class TRichEditTarget {
 public:
  // The editor's widget: the menu pops up over it and forgets it when it is destroyed.
  virtual QTextEdit* TextEdit() = 0;

  virtual bool ReadOnly() const = 0;
  virtual bool CanFormat() const = 0;
  virtual void PrepareEdit() = 0;

  virtual void Undo() = 0;
  virtual void Cut() = 0;
  virtual void Copy() = 0;
  virtual void Paste() = 0;
  virtual void ClearSelection() = 0;
  virtual void InsertText(const QString& text) = 0;
  virtual void SelectAll() = 0;
  virtual void ToggleBold() = 0;
  virtual void ToggleItalic() = 0;
  virtual void ToggleUnderline() = 0;
  virtual void SetParagraphAlignment(TParaAlignment alignment) = 0;
  virtual void ToggleBullet() = 0;
  virtual void SetSelectionFont(const QFont& font) = 0;
  virtual void SetSelectionColor(const std::optional<QColor>& color) = 0;
  virtual void SetLink(const QString& address) = 0;
  virtual void RemoveLink() = 0;

  virtual QFont SelectionFont() const = 0;
  virtual std::optional<QColor> SelectionColor() const = 0;
  virtual bool SelectionBold() const = 0;
  virtual bool SelectionItalic() const = 0;
  virtual bool SelectionUnderline() const = 0;
  virtual TParaAlignment ParagraphAlignment() const = 0;
  virtual bool ParagraphBullet() const = 0;
  virtual int SelectionLength() const = 0;
  virtual int TextLength() const = 0;
  virtual bool CanUndo() const = 0;
  virtual QString SelectionLink() const = 0;
  virtual bool SelectionHasLink() const = 0;

 protected:
  TRichEditTarget() = default;
  ~TRichEditTarget() = default;
  TRichEditTarget(const TRichEditTarget&) = default;
  TRichEditTarget& operator=(const TRichEditTarget&) = default;
};

}  // namespace pagolin
