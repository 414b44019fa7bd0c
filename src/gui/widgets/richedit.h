// TRichEdit: the rich-text editor. It shows a stored text for editing and gives back the text
// to store, through the core's rich-text model (RTF reader and writer) and the bridge to
// QTextDocument.
//
// Stored texts are UTF-8: RTF in rich mode (ASCII as the writer writes it), plain text with
// CR LF line ends in plain mode. Opening a text and leaving it unchanged never changes its stored bytes: the
// writer runs only after a real edit.
//
// The commands below are what the popup menu and the keyboard (Ctrl+B, Ctrl+I, Ctrl+U) do.
// A command that changes the text does nothing on a read-only editor, a formatting command
// nothing in plain mode, and every one of them first calls PrepareEdit().
//
// For an editor bound to a record, a subclass overrides InEditState() and EnterEditState();
// PrepareEdit() then puts the record into edit state before the first change, keeping the
// caret and the selection where they were. The subclass handles typing itself (it sees every
// key first in keyPressEvent) and learns of every user edit through OnChange().
#pragma once

#include "core/richtext/richdoc.h"
#include "gui/components/richedittarget.h"

#include <QColor>
#include <QFont>
#include <QTextCharFormat>
#include <QTextEdit>

#include <optional>
#include <string>

namespace pagolin {

class TRichEdit : public QTextEdit, public TRichEditTarget {
  Q_OBJECT

 public:
  explicit TRichEdit(QWidget* parent = nullptr);

  QTextEdit* TextEdit() override { return this; }

  // --- The stored text ---------------------------------------------------------------------
  // Shows a stored text: in rich mode RTF is read (any other text, also one that merely starts
  // with "{", is shown as plain text), in plain mode every text is shown as plain text. Loading
  // is not an edit: afterwards Modified() is false, there is nothing to undo, and the caret
  // stands at the start.
  void LoadText(const std::string& stored);
  // The text to store: the bytes LoadText was given while Modified() is false; after an edit,
  // in rich mode the document as RTF in the rich editor's form, in plain mode its text with
  // CR LF between paragraphs.
  std::string StoredText() const;
  // The text was edited since LoadText (undoing every edit makes it false again).
  bool Modified() const;

  // --- Mode ---------------------------------------------------------------------------------
  // Plain mode: no formatting commands, pasting takes plain text, the text is stored as plain
  // text. The mode applies to the next LoadText and StoredText; switching it does not convert
  // the text shown.
  bool PlainText() const { return plainText_; }
  void SetPlainText(bool plain);
  bool ReadOnly() const override { return isReadOnly(); }
  void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
  // Formatting commands take effect: neither read-only nor plain mode.
  bool CanFormat() const override { return !ReadOnly() && !PlainText(); }

  // --- Commands -----------------------------------------------------------------------------
  void Undo() override;
  void Cut() override;
  void Copy() override;
  void Paste() override;
  void ClearSelection() override;  // deletes the selected text
  // Types text at the caret, in place of the selection (the insertion items of the menu).
  void InsertText(const QString& text) override;
  void SelectAll() override;
  void ToggleBold() override;
  void ToggleItalic() override;
  void ToggleUnderline() override;
  void SetParagraphAlignment(TParaAlignment alignment) override;
  // Makes the selected paragraphs list paragraphs, or plain ones when the caret's paragraph is
  // a list paragraph.
  void ToggleBullet() override;
  // Face, point size, weight, slant and underline of the font; colour none: the text's default.
  void SetSelectionFont(const QFont& font) override;
  void SetSelectionColor(const std::optional<QColor>& color) override;

  // --- State of the selection (of its first character and the caret's paragraph) ------------
  QTextCharFormat SelectionFormat() const;
  QFont SelectionFont() const override;
  std::optional<QColor> SelectionColor() const override;
  bool SelectionBold() const override;
  bool SelectionItalic() const override;
  bool SelectionUnderline() const override;
  TParaAlignment ParagraphAlignment() const override;
  bool ParagraphBullet() const override;
  int SelectionLength() const override;
  int TextLength() const override;  // in characters, paragraph breaks counting one each
  bool CanUndo() const override;

  // Makes the editor ready for a change: when InEditState() is false, calls EnterEditState()
  // with the selection saved before and restored after.
  void PrepareEdit() override;

 signals:
  // The user changed the text (LoadText does not count).
  void OnChange();

 protected:
  // The hooks of an editor bound to a record (see the file comment). InEditState() tells
  // whether the record may be changed now (here: always); EnterEditState() puts it into edit
  // state, and may load the field's text anew.
  virtual bool InEditState() const { return true; }
  virtual void EnterEditState() {}

  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool BeginChange();  // PrepareEdit for a text change; false on a read-only editor
  bool BeginFormat();  // the same for a formatting command
  void MergeFormat(const QTextCharFormat& modifier);

  std::string stored_;
  bool plainText_ = false;
  bool loading_ = false;
};

}  // namespace pagolin
