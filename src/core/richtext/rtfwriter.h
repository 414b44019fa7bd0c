// The RTF writer: a TRichDoc as one line of RTF in the rich editor's own form, using only what
// the page builder's converter reads:
//
//   {\rtf1\ansi{\fonttbl{\f0\fnil Arial;}...}{\colortbl\red0\green0\blue0;...}
//   \pard\qc\plain\f0\fs20\cf1\b text\par ... }
//
// - Fonts are numbered in the order the runs use them; a bullet list adds "Symbol" for its
//   marker. Font names are written as they are, without escapes (the converter would move an
//   escaped letter out of the name into the page).
// - The colour table starts with black, written out: an empty first entry would shift every
//   colour number in the converter. A run's colour is one of the following entries, so \cf0 is
//   never written (the converter never closes colour 0).
// - Each paragraph starts with \pard (+ \qc or \qr); a list paragraph adds the list properties
//   and its marker, a list paragraph that follows one of the same alignment only the marker.
// - Each run is \plain\fN\fsM (+ \cfK, \b, \i, \ul) and a blank, then its text: "\", "{" and
//   "}" escaped, a tab as "\tab ", the Windows-1252 letters from 128 on as \'hh with lowercase
//   digits, any other character as "\uN ?", other control characters not at all. Every control word
//   that text follows ends with a blank, since the converter reads the letters after any other
//   ending as part of the word.
// - Neighbouring runs with the same link are wrapped in
//   {\field{\*\fldinst HYPERLINK "address"}{\fldrslt ...}} (a '"' in the address as %22).
// - Each paragraph ends with \par, the document with " }".
//
// Reading what it writes gives the same document, so writing is idempotent after one pass.
#pragma once

#include "core/richtext/richdoc.h"

#include <string>

namespace pagolin {

std::string WriteRtf(const TRichDoc& doc);

}  // namespace pagolin
