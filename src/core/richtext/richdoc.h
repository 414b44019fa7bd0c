// TRichDoc: the rich editor's document model. Paragraphs with an alignment and a bullet flag,
// each a list of runs of text with one character format. It holds exactly what the RTF writer
// can write and the converter can turn into tags, so that reading, writing and reading again
// gives the same document.
//
// Run text is UTF-16, the unit of RTF's \u and of the Qt text document, so that characters
// outside Windows-1252 survive an edit (the writer keeps them as \u). Font names and link
// addresses are UTF-8 like every other text of the core.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagolin {

// The face of text whose RTF names no font (and of the editor's new text).
inline constexpr std::string_view kDefaultFace = "Arial";
// Font sizes are whole points in this range; the writer gives RTF half-points.
inline constexpr int kMinFontSize = 1;
inline constexpr int kMaxFontSize = 1638;

enum class TParaAlignment : std::uint8_t { Left, Center, Right };

struct TRgb {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
  friend bool operator==(const TRgb&, const TRgb&) = default;
};

struct TRunFormat {
  std::string Face{kDefaultFace};  // never empty
  int Size = 10;                   // points, kMinFontSize..kMaxFontSize
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  std::optional<TRgb> Color;  // none: the text's default colour
  std::string Link;           // a hyperlink's address (UTF-8); empty: no link
  friend bool operator==(const TRunFormat&, const TRunFormat&) = default;
};

struct TRichRun {
  std::u16string Text;  // never empty; from RTF, no control character but the tab
  TRunFormat Format;
  friend bool operator==(const TRichRun&, const TRichRun&) = default;
};

struct TRichParagraph {
  TParaAlignment Alignment = TParaAlignment::Left;
  bool Bullet = false;
  std::vector<TRichRun> Runs;  // neighbours differ in format; none for an empty paragraph
  friend bool operator==(const TRichParagraph&, const TRichParagraph&) = default;
};

struct TRichDoc {
  std::vector<TRichParagraph> Paragraphs;
  friend bool operator==(const TRichDoc&, const TRichDoc&) = default;
};

// A font name as documents keep it: without ";", braces, backslashes, double quotes (the
// converter copies the name into a quoted attribute) and control characters, trimmed of
// blanks; kDefaultFace when nothing is left.
std::string CleanFaceName(std::string_view name);

// Appends text in the given format to the paragraph: joins the last run when the format is
// the same, so neighbouring runs always differ. Empty text adds nothing.
void AppendRun(TRichParagraph& paragraph, std::u16string_view text, const TRunFormat& format);

// A plain text (UTF-8) as a document: one paragraph per line, lines end at CR LF, LF or CR,
// every run in the default format. An empty text gives no paragraph.
TRichDoc PlainTextDoc(std::string_view text);

// The document's text in UTF-8, paragraphs separated by CR LF (none after the last).
std::string PlainText(const TRichDoc& doc);

}  // namespace pagolin
