// TRichEdit: the rich-text editor. It shows a stored text for editing and gives back the text
// to store, through the core's rich-text model (RTF reader and writer) and the bridge to
// QTextDocument.
//
// Stored texts are UTF-8: RTF in rich mode (ASCII as the writer writes it), plain text with
// CR LF line ends in plain mode. Opening a text and leaving it unchanged never changes its stored bytes: the
// writer runs only after a real edit.
//
// A paste (or drop) of rich text goes through the model before it is shown: the editor shows
// at once what will be stored and what the page will show. Links keep their address; a
// heading keeps its size as a larger font, a numbered list its numbers as text, a table its
// cells separated by tabs and its rows by paragraph breaks; pictures are dropped at once,
// and the window's status bar says so.
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

#include <functional>
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

  // --- Links -------------------------------------------------------------------------------
  // The selection becomes a link to address, underlined in the link colour (as a link pasted
  // from a web page comes); without a selection the link at the caret gets the address, and
  // away from a link the address is typed as a link of its own.
  void SetLink(const QString& address) override;
  // The links of the selection, or the link at the caret, become plain text again: no address,
  // no underline and no link colour.
  void RemoveLink() override;
  // The address of the link at the caret (the character before it, else the one after) or at
  // the selection's first character; "" for none.
  QString SelectionLink() const override;
  // Whether the selection holds a link or the caret touches one.
  bool SelectionHasLink() const override;

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
  // Pastes and drops keep only what the stored text can hold, shown as it will be kept (see
  // the file comment); dropped pictures are said in the window's status bar.
  void insertFromMimeData(const QMimeData* source) override;

 private:
  bool BeginChange();  // PrepareEdit for a text change; false on a read-only editor
  bool BeginFormat();  // the same for a formatting command
  void MergeFormat(const QTextCharFormat& modifier);
  // Calls fn(start, end, format) for each run of one format within [from, to).
  void ForEachPiece(int from, int to, const std::function<void(int, int, const QTextCharFormat&)>& fn) const;
  // Replaces the format of every character in [from, to) by change(its format), as one edit.
  void ChangeFormats(int from, int to, const std::function<void(QTextCharFormat&)>& change);
  // The characters [from, to) of the link at position (the character before it, else the one
  // after); an empty range when there is none.
  std::pair<int, int> LinkAt(int position) const;
  // The format without a link and without a link's look (underline, link colour).
  void DropLink(QTextCharFormat& format) const;

  std::string stored_;
  bool plainText_ = false;
  bool loading_ = false;
};

}  // namespace pagolin
