// The state and the work of one conversion of TParvel: the character scanner and the dispatch
// of control words. Internal to rtf2html (tests reach it to look at the collected font list).
#pragma once

#include "core/rtf2html/parvel.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagolin {

// Which tags are open. Bold, Italic, Underline, InList and Centered: the opening tag has been
// emitted and not yet closed; Small: a <SMALL> has been emitted for the current small size.
struct TStyleState {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Small = false;
  bool InList = false;
  bool Centered = false;
};

struct TFontInfo {
  // No "f" word seen yet in this conversion: font-table text is dropped until one comes.
  static constexpr std::int32_t kNoFont = -1;

  bool InFontTable = true;  // false from "colortbl" on
  std::int32_t FontNo = kNoFont;
  std::int32_t Size = 0;  // points
};

class TParvelScanner {
 public:
  // Appends to html (the caller empties it); reads and updates the owner's colour state.
  // shortcuts: copy runs of ordinary text at once and read control words in place. The result
  // is the same as one character per iteration with a word buffer, which tests and the fuzz
  // target compare against by passing false.
  TParvelScanner(TParvel& owner, std::string_view rtf, std::string& html, bool shortcuts = true);

  // Scans the whole input. Returns the continue flag: false when the progress handler
  // stopped the scan.
  bool Scan();

  // Appends the result of one control word (without backslash, parameter included) to the
  // output and updates the state.
  void HandleControlWord(std::string_view word);

  const std::vector<std::string>& Fonts() const { return fonts_; }
  const TStyleState& Style() const { return style_; }
  const TFontInfo& FontInfo() const { return font_; }

 private:
  void FontTableChar(char c);
  void HexEscape(std::string_view word);
  // A \uN word: the character as a numeric reference (a UTF-16 pair as one), and its fallback
  // of fallbackLength_ characters skipped.
  void Unicode(std::string_view parameter);
  // A "}" closes the group of depth_: ends a field instruction or a hyperlink's text.
  void GroupEnds();
  void Plain();
  void FontSize(std::string_view parameter);
  void FontFace(std::string_view parameter);
  void ColorTable();
  void SelectColor(std::string_view parameter);
  void ColorComponent(std::string_view word);

  TParvel& owner_;
  std::string_view rtf_;
  std::string& html_;
  bool shortcuts_;
  TStyleState style_;
  TFontInfo font_;
  std::vector<std::string> fonts_;
  int fallbackLength_ = 1;            // \ucN
  int fallback_ = 0;                  // characters of a fallback still to skip
  char32_t highSurrogate_ = 0;        // the first half of a pair, waiting for the second
  int depth_ = 0;                     // groups open
  int instructionDepth_ = -1;         // the group of a \fldinst being read
  std::size_t instructionStart_ = 0;  // where its text starts in the output
  std::string fieldLink_;             // the address the last instruction named
  int linkDepth_ = -1;                // the \fldrslt group shown as a hyperlink
};

}  // namespace pagolin
