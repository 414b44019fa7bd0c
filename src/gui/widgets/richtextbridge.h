// The bridge between the core's rich-text document and QTextDocument, both ways.
//
// A TRichDoc paragraph is a block (its alignment; a list paragraph is an item of a disc list,
// and neighbouring list paragraphs share one list); a run is text in a character format of
// the run's face, point size, weight, slant, underline and, when the run has one, colour.
//
// Reading a QTextDocument keeps what the model holds and nothing else: a block in any kind of
// list is a list paragraph, justified text is left-aligned, a line separator (Shift+Enter)
// starts a new paragraph, objects (images) are dropped, and a character format without a face
// or a point size takes the document's default font.
#pragma once

#include "core/richtext/richdoc.h"

class QTextDocument;

namespace pagolin {

// Replaces the contents of target with doc. Loading is not an edit: the undo history is
// cleared and the document is unmodified afterwards.
void LoadRichDoc(QTextDocument& target, const TRichDoc& doc);

// The document as the model holds it. Reading it back after LoadRichDoc gives doc, except that
// a document without paragraphs reads back as one empty paragraph.
TRichDoc SaveRichDoc(const QTextDocument& source);

}  // namespace pagolin
