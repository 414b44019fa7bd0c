#include "core/richtext/rtfwriter.h"

#include "core/platform/codepage.h"
#include "core/platform/hyperlink.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>
#include <vector>

namespace pagolin {
namespace {

constexpr std::string_view kBulletFace = "Symbol";

void AppendNumber(std::string& out, int value) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

void AppendHexEscape(std::string& out, unsigned value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\'";
  out += kDigits[(value >> 4) & 0xF];
  out += kDigits[value & 0xF];
}

void AppendText(std::string& out, std::u16string_view text) {
  for (const char16_t c : text) {
    if (c >= 0x20 && c < 0x80) {
      if (c == '\\' || c == '{' || c == '}') out += '\\';
      out += static_cast<char>(c);
    } else if (c == u'\t') {
      out += "\\tab ";
    } else if (const int byte = UnicodeToAnsiChar(c); byte >= 0) {
      AppendHexEscape(out, static_cast<unsigned>(byte));
    } else {
      out += "\\u";
      AppendNumber(out, c > 0x7FFF ? static_cast<int>(c) - 0x10000 : static_cast<int>(c));
      out += " ?";
    }
  }
}

bool IsControl(char16_t c) { return c < 0x20 && c != u'\t'; }

// The format as the reader gets it back: a clean face name and a size in range.
TRunFormat AsRead(const TRunFormat& format) {
  TRunFormat f = format;
  f.Face = CleanFaceName(f.Face);
  f.Size = std::clamp(f.Size, kMinFontSize, kMaxFontSize);
  return f;
}

// Whether the paragraph is written as it is: what the reader gives back. Otherwise its runs
// are first made so (control characters and empty runs dropped, formats as read, neighbours
// of the same format joined), so that writing stays idempotent for any document.
bool ReadsBackAsItIs(const TRichParagraph& p) {
  for (std::size_t i = 0; i < p.Runs.size(); ++i) {
    const TRichRun& run = p.Runs[i];
    if (run.Text.empty() || std::any_of(run.Text.begin(), run.Text.end(), IsControl)) return false;
    if (!(AsRead(run.Format) == run.Format)) return false;
    if (i > 0 && run.Format == p.Runs[i - 1].Format) return false;
  }
  return true;
}

TRichParagraph AsReadBack(const TRichParagraph& p) {
  TRichParagraph clean{p.Alignment, p.Bullet, {}};
  for (const TRichRun& run : p.Runs) {
    std::u16string text = run.Text;
    std::erase_if(text, IsControl);
    AppendRun(clean, text, AsRead(run.Format));
  }
  return clean;
}

class TRtfWriter {
 public:
  std::string Write(const TRichDoc& doc) {
    std::string body;
    body.reserve(doc.Paragraphs.size() * 64);
    const TRichParagraph* previous = nullptr;
    TRichParagraph clean;
    for (const TRichParagraph& paragraph : doc.Paragraphs) {
      if (ReadsBackAsItIs(paragraph)) {
        Paragraph(body, paragraph, previous);
      } else {
        clean = AsReadBack(paragraph);
        Paragraph(body, clean, previous);
      }
      previous = &paragraph;
    }

    std::string out = "{\\rtf1\\ansi{\\fonttbl";
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
      out += "{\\f";
      AppendNumber(out, static_cast<int>(i));
      out += fonts_[i] == kBulletFace ? "\\froman\\fcharset2 " : "\\fnil ";
      out += fonts_[i];
      out += ";}";
    }
    out += "}{\\colortbl\\red0\\green0\\blue0;";
    for (const TRgb& color : colors_) {
      out += "\\red";
      AppendNumber(out, color.Red);
      out += "\\green";
      AppendNumber(out, color.Green);
      out += "\\blue";
      AppendNumber(out, color.Blue);
      out += ';';
    }
    out += '}';
    out += body;
    out += doc.Paragraphs.empty() ? "}" : " }";
    return out;
  }

 private:
  void Paragraph(std::string& out, const TRichParagraph& p, const TRichParagraph* previous) {
    const bool continuesList = p.Bullet && previous && previous->Bullet && previous->Alignment == p.Alignment;
    if (!continuesList) {
      out += "\\pard";
      if (p.Alignment == TParaAlignment::Center) out += "\\qc";
      if (p.Alignment == TParaAlignment::Right) out += "\\qr";
    }
    if (p.Bullet) {
      const int symbol = FontNumber(kBulletFace);
      // The list properties come before the first marker, so that the converter opens the
      // list before the first item and drops every marker.
      if (!continuesList) {
        out += "{\\*\\pn\\pnlvlblt\\pnf";
        AppendNumber(out, symbol);
        out += "\\pnindent0{\\pntxtb\\'b7}}\\fi-200\\li200";
      }
      out += "{\\pntext\\f";
      AppendNumber(out, symbol);
      out += "\\'b7\\tab}";
    }
    for (std::size_t i = 0; i < p.Runs.size();) {
      const std::string& link = p.Runs[i].Format.Link;
      if (link.empty()) {
        Run(out, p.Runs[i++]);
        continue;
      }
      // Neighbouring runs of one link make one hyperlink field.
      out += "{\\field{\\*\\fldinst HYPERLINK \"";
      AppendText(out, Utf8ToUtf16(FieldAddress(link)));
      out += "\"}{\\fldrslt ";
      while (i < p.Runs.size() && p.Runs[i].Format.Link == link) Run(out, p.Runs[i++]);
      out += "}}";
    }
    out += "\\par";
  }

  void Run(std::string& out, const TRichRun& run) {
    const TRunFormat& f = run.Format;
    out += "\\plain\\f";
    AppendNumber(out, FontNumber(f.Face));
    out += "\\fs";
    AppendNumber(out, 2 * f.Size);
    if (f.Color) {
      out += "\\cf";
      AppendNumber(out, ColorNumber(*f.Color));
    }
    if (f.Bold) out += "\\b";
    if (f.Italic) out += "\\i";
    if (f.Underline) out += "\\ul";
    out += ' ';
    AppendText(out, run.Text);
  }

  int FontNumber(std::string_view face) {
    const auto [it, added] = fontNumbers_.try_emplace(std::string(face), static_cast<int>(fonts_.size()));
    if (added) fonts_.emplace_back(face);
    return it->second;
  }

  // Colours are numbered from 1: entry 0 is the black that stands first.
  int ColorNumber(const TRgb& color) {
    const std::uint32_t key =
        (std::uint32_t{color.Red} << 16) | (std::uint32_t{color.Green} << 8) | color.Blue;
    const auto [it, added] = colorNumbers_.try_emplace(key, static_cast<int>(colors_.size()) + 1);
    if (added) colors_.push_back(color);
    return it->second;
  }

  std::vector<std::string> fonts_;
  std::unordered_map<std::string, int> fontNumbers_;
  std::vector<TRgb> colors_;
  std::unordered_map<std::uint32_t, int> colorNumbers_;
};

}  // namespace

std::string WriteRtf(const TRichDoc& doc) { return TRtfWriter().Write(doc); }

}  // namespace pagolin
