#include "core/richtext/rtfreader.h"

#include "core/platform/codepage.h"
#include "core/platform/hyperlink.h"
#include "core/richtext/rtfwords.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace pagolin {
namespace {

using rtf::TWord;

enum class TDest : std::uint8_t { Body, FontTable, ColorTable, ListProps, FieldInstruction };

// What a group inherits from its parent and gets back when it closes.
struct TGroupState {
  int Font = -1;        // index into the font names; -1: the default font
  int HalfPoints = 24;  // RTF's default size
  int Color = -1;       // colour table entry; -1: no \cf
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Hidden = false;
  int UnicodeSkip = 1;  // \uc
  TDest Dest = TDest::Body;
  int ListOwner = -1;  // inside \pn: the stack index of the group whose paragraph it describes
  TParaAlignment Align = TParaAlignment::Left;
  bool Bullet = false;
  bool InTable = false;
  int Link = -1;       // the hyperlink of the text (index into the reader's links); -1: none
  int FieldLink = -1;  // in a \field group: the hyperlink its instruction named
};

struct TControlWord {
  std::string_view Letters;
  bool HasParameter = false;
  std::int32_t Parameter = 0;
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// RTF's control words are lowercase, but some writers put capitals into theirs ("\mmathPr").
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes that end a run of plain text: the RTF syntax and the line ends it ignores.
bool EndsText(unsigned char c) { return c == '\\' || c == '{' || c == '}' || c < 0x20; }

class TRtfReader {
 public:
  explicit TRtfReader(std::string_view rtf) : s_(rtf) { stack_.emplace_back(); }

  TRichDoc Read() {
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '{') {
        ++pos_;
        stack_.push_back(stack_.back());
        groupStart_ = true;
        starred_ = false;
        skipUnits_ = 0;
        continue;
      }
      if (c == '}') {
        ++pos_;
        PopGroup();
        continue;
      }
      if (c == '\\') {
        ControlSequence();
        continue;
      }
      groupStart_ = false;
      Text();
    }
    if (!paragraph_.Runs.empty()) EndParagraph();
    return std::move(doc_);
  }

 private:
  TGroupState& State() { return stack_.back(); }

  void PopGroup() {
    if (State().Dest == TDest::FieldInstruction && stack_.size() > 1) {
      links_.push_back(HyperlinkAddress(fieldInstruction_));
      stack_[stack_.size() - 2].FieldLink = links_.back().empty() ? -1 : static_cast<int>(links_.size()) - 1;
    }
    groupStart_ = false;
    skipUnits_ = 0;
    formatChanged_ = true;
    if (stack_.size() > 1) stack_.pop_back();  // a stray "}" closes nothing
  }

  // A run of plain text from pos_.
  void Text() {
    const auto c = static_cast<unsigned char>(s_[pos_]);
    if (EndsText(c)) {
      ++pos_;
      if (c == '\t') Char(u'\t');
      return;
    }
    if (State().Dest != TDest::Body || State().Hidden || skipUnits_ > 0) {
      if (c < 0x80) {
        ++pos_;
        Byte(c);
        return;
      }
      const char32_t u = RawChar();
      if (State().Dest == TDest::FieldInstruction && !Skipping()) {
        AppendUtf8(fieldInstruction_, u);
        return;
      }
      if (State().Dest == TDest::FontTable && skipUnits_ == 0) {
        FontTableText(u);
        return;
      }
      for (char16_t unit : Utf8ToUtf16(Utf8Of(u))) Char(unit);
      return;
    }
    std::size_t end = pos_ + 1;
    while (end < s_.size() && !EndsText(static_cast<unsigned char>(s_[end]))) ++end;
    std::u16string& text = RunText();
    while (pos_ < end) {
      const auto b = static_cast<unsigned char>(s_[pos_]);
      if (b < 0x80) {
        text += static_cast<char16_t>(b);
        ++pos_;
        continue;
      }
      const char32_t u = RawChar();
      if (u >= 0x10000) {
        text += static_cast<char16_t>(0xD800 + ((u - 0x10000) >> 10));
        text += static_cast<char16_t>(0xDC00 + ((u - 0x10000) & 0x3FF));
      } else {
        text += static_cast<char16_t>(u);
      }
    }
  }

  // The character of unescaped text at pos_, moving past it. Text of the core is UTF-8; a byte
  // that starts no well-formed UTF-8 character is read as Windows-1252, as an RTF file from
  // elsewhere has its letters.
  char32_t RawChar() {
    std::size_t next = pos_;
    char32_t u;
    if (DecodeUtf8(s_, next, u)) {
      pos_ = next;
      return u;
    }
    return AnsiCharToUnicode(static_cast<unsigned char>(s_[pos_++]));
  }

  static std::string Utf8Of(char32_t u) {
    std::string bytes;
    AppendUtf8(bytes, u);
    return bytes;
  }

  void FontTableText(char32_t u) {
    for (char b : Utf8Of(u)) FontTableChar(static_cast<unsigned char>(b));
  }

  // One byte of text: plain ASCII, or an escaped Windows-1252 byte.
  void Byte(unsigned char c) {
    if (State().Dest == TDest::FieldInstruction) {
      if (!Skipping()) AppendUtf8(fieldInstruction_, AnsiCharToUnicode(c));
      return;
    }
    if (State().Dest == TDest::FontTable && skipUnits_ == 0) {
      FontTableText(AnsiCharToUnicode(c));
      return;
    }
    if (State().Dest == TDest::ColorTable && c == ';') {
      colors_.push_back(pendingColorSet_ ? std::optional<TRgb>(pendingColor_) : std::nullopt);
      pendingColor_ = {};
      pendingColorSet_ = false;
      return;
    }
    Char(static_cast<char16_t>(AnsiCharToUnicode(c)));
  }

  // One UTF-16 unit of text.
  void Char(char16_t c) {
    if (skipUnits_ > 0) {
      --skipUnits_;
      return;
    }
    if (State().Dest == TDest::FieldInstruction) {
      fieldInstruction_ += Utf16ToUtf8(std::u16string_view(&c, 1));
      return;
    }
    if (State().Dest == TDest::FontTable) {
      for (char b : Utf16ToUtf8(std::u16string_view(&c, 1))) FontTableChar(static_cast<unsigned char>(b));
      return;
    }
    if (State().Dest != TDest::Body || State().Hidden) return;
    if (c < 0x20 && c != u'\t') return;  // control characters, also escaped, are no text
    RunText() += c;
  }

  void FontTableChar(unsigned char c) {
    if (fontNameDone_ || currentFont_ < 0) return;
    if (c == ';') {
      fontNameDone_ = true;
      return;
    }
    fontNames_[static_cast<std::size_t>(currentFont_)] += static_cast<char>(c);
  }

  // The text of the run that the next characters join: the last run when its format is the
  // current one, otherwise a new run.
  std::u16string& RunText() {
    if (formatChanged_ || paragraph_.Runs.empty()) {
      TRunFormat format = CurrentFormat();
      if (paragraph_.Runs.empty() || !(paragraph_.Runs.back().Format == format))
        paragraph_.Runs.push_back({std::u16string(), std::move(format)});
      formatChanged_ = false;
    }
    return paragraph_.Runs.back().Text;
  }

  TRunFormat CurrentFormat() const {
    const TGroupState& st = stack_.back();
    TRunFormat f;
    f.Face = FaceName(st.Font >= 0 ? st.Font : FontIndex(defaultFont_));
    f.Size = std::clamp(st.HalfPoints / 2, kMinFontSize, kMaxFontSize);
    f.Bold = st.Bold;
    if (st.Link >= 0) f.Link = links_[static_cast<std::size_t>(st.Link)];
    f.Italic = st.Italic;
    f.Underline = st.Underline;
    if (st.Color >= 0 && static_cast<std::size_t>(st.Color) < colors_.size())
      f.Color = colors_[static_cast<std::size_t>(st.Color)];
    return f;
  }

  std::string FaceName(int index) const {
    if (index < 0) return std::string(kDefaultFace);
    return CleanFaceName(fontNames_[static_cast<std::size_t>(index)]);
  }

  int FontIndex(std::int32_t number) const {
    const auto it = fontIndex_.find(number);
    return it == fontIndex_.end() ? -1 : it->second;
  }

  void EndParagraph() {
    const TGroupState& st = State();
    paragraph_.Alignment = st.Align;
    paragraph_.Bullet = st.Bullet;
    if (bulletWordFirst_ && StartsWith(u"\u2022\t")) {
      RemoveFront(2);
      paragraph_.Bullet = true;
    }
    doc_.Paragraphs.push_back(std::move(paragraph_));
    paragraph_ = {};
    bulletWordFirst_ = false;
    formatChanged_ = true;
  }

  bool StartsWith(std::u16string_view prefix) const {
    std::u16string front;
    for (const TRichRun& run : paragraph_.Runs) {
      front += run.Text;
      if (front.size() >= prefix.size()) break;
    }
    return std::u16string_view(front).starts_with(prefix);
  }

  void RemoveFront(std::size_t count) {
    auto& runs = paragraph_.Runs;
    while (count > 0 && !runs.empty()) {
      const std::size_t n = std::min(count, runs.front().Text.size());
      runs.front().Text.erase(0, n);
      count -= n;
      if (runs.front().Text.empty()) runs.erase(runs.begin());
    }
  }

  // Removes trailing copies of c (only the last one when once is set) from the paragraph.
  void TrimBack(char16_t c, bool once) {
    auto& runs = paragraph_.Runs;
    while (!runs.empty() && !runs.back().Text.empty() && runs.back().Text.back() == c) {
      runs.back().Text.pop_back();
      if (runs.back().Text.empty()) {
        runs.pop_back();
        formatChanged_ = true;
      }
      if (once) break;
    }
  }

  void ControlSequence() {
    ++pos_;  // the backslash
    if (pos_ >= s_.size()) return;
    const char c = s_[pos_];
    if (IsLetter(c)) {
      ControlWord(ReadWord());
      return;
    }
    ++pos_;
    const bool atStart = groupStart_;
    groupStart_ = false;
    switch (c) {
      case '*':
        groupStart_ = atStart;
        starred_ = atStart;
        return;
      case '\'': {
        const int high = pos_ < s_.size() ? HexValue(s_[pos_]) : -1;
        const int low = pos_ + 1 < s_.size() ? HexValue(s_[pos_ + 1]) : -1;
        if (high < 0 || low < 0) return;  // not an escape: the apostrophe alone is dropped
        pos_ += 2;
        Byte(static_cast<unsigned char>(high * 16 + low));
        return;
      }
      case '\\':
      case '{':
      case '}': Byte(static_cast<unsigned char>(c)); return;
      case '~': Char(u'\u00A0'); return;
      case '_': Char(u'-'); return;
      case '\r':
      case '\n':
        if (!Skipping()) Break(TWord::Paragraph);
        return;
      default:  // \- (optional hyphen) and the symbols nobody writes any more
        Skipping();
        return;
    }
  }

  // Counts a control word or symbol against the fallback of a \u; true while it is skipped.
  bool Skipping() {
    if (skipUnits_ == 0) return false;
    --skipUnits_;
    return true;
  }

  TControlWord ReadWord() {
    TControlWord w;
    const std::size_t start = pos_;
    while (pos_ < s_.size() && IsLetter(s_[pos_])) ++pos_;
    w.Letters = s_.substr(start, pos_ - start);
    const bool negative = pos_ + 1 < s_.size() && s_[pos_] == '-' && IsDigit(s_[pos_ + 1]);
    if (negative) ++pos_;
    std::int64_t value = 0;
    while (pos_ < s_.size() && IsDigit(s_[pos_])) {
      w.HasParameter = true;
      value = std::min<std::int64_t>(value * 10 + (s_[pos_] - '0'), INT32_MAX);  // saturates
      ++pos_;
    }
    w.Parameter = static_cast<std::int32_t>(negative ? -value : value);
    if (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
    return w;
  }

  void ControlWord(const TControlWord& w) {
    const TWord word = rtf::LookupWord(w.Letters);
    const bool atStart = groupStart_;
    const bool starred = starred_;
    groupStart_ = false;
    starred_ = false;
    if (word == TWord::Binary) {  // binary data is never text, also in a \u fallback
      if (w.Parameter > 0) pos_ += std::min(static_cast<std::size_t>(w.Parameter), s_.size() - pos_);
      return;
    }
    if (atStart && Destination(word, starred)) return;
    if (Skipping()) return;
    Apply(word, w);
  }

  // A control word at the start of a group; true when it made the group a destination.
  bool Destination(TWord word, bool starred) {
    TGroupState& st = State();
    switch (word) {
      case TWord::FontTable: st.Dest = TDest::FontTable; return true;
      case TWord::ColorTable: st.Dest = TDest::ColorTable; return true;
      case TWord::ListProps:
        st.Dest = TDest::ListProps;
        st.ListOwner = static_cast<int>(stack_.size()) - 2;
        return true;
      case TWord::TableProps: return false;
      case TWord::FieldInstruction:
        st.Dest = TDest::FieldInstruction;
        fieldInstruction_.clear();
        return true;
      case TWord::FieldResult:
        st.Link = st.FieldLink;
        formatChanged_ = true;
        return true;
      case TWord::SkippedDestination: SkipGroup(); return true;
      default:
        if (!starred) return false;
        SkipGroup();
        return true;
    }
  }

  // Skips to the end of the group just opened, and closes it.
  void SkipGroup() {
    int depth = 1;
    while (pos_ < s_.size()) {
      const char c = s_[pos_++];
      if (c == '{') {
        ++depth;
      } else if (c == '}') {
        if (--depth == 0) break;
      } else if (c == '\\' && pos_ < s_.size()) {
        if (!IsLetter(s_[pos_])) {
          ++pos_;  // a control symbol, an escaped brace or backslash, or the ' of an escape
          continue;
        }
        const TControlWord w = ReadWord();
        if (w.Letters == "bin" && w.Parameter > 0)
          pos_ += std::min(static_cast<std::size_t>(w.Parameter), s_.size() - pos_);
      }
    }
    PopGroup();
  }

  bool Flag(const TControlWord& w) const { return !w.HasParameter || w.Parameter != 0; }

  void Apply(TWord word, const TControlWord& w) {
    TGroupState& st = State();
    switch (word) {
      case TWord::Font:
        if (st.Dest == TDest::FontTable) {
          StartFontEntry(w.Parameter);
        } else if (st.Dest == TDest::Body) {
          st.Font = FontIndex(w.Parameter);
          formatChanged_ = true;
        }
        return;
      case TWord::DefaultFont: defaultFont_ = w.Parameter; return;
      case TWord::Plain:
        st.Font = -1;
        st.HalfPoints = 24;
        st.Color = -1;
        st.Bold = st.Italic = st.Underline = st.Hidden = false;
        formatChanged_ = true;
        return;
      case TWord::Bold:
        st.Bold = Flag(w);
        formatChanged_ = true;
        return;
      case TWord::Italic:
        st.Italic = Flag(w);
        formatChanged_ = true;
        return;
      case TWord::Underline:
        st.Underline = Flag(w);
        formatChanged_ = true;
        return;
      case TWord::UnderlineNone:
        st.Underline = false;
        formatChanged_ = true;
        return;
      case TWord::FontSize:
        st.HalfPoints = w.HasParameter ? w.Parameter : 24;
        formatChanged_ = true;
        return;
      case TWord::Color:
        if (st.Dest == TDest::ColorTable) return;
        st.Color = w.Parameter;
        formatChanged_ = true;
        return;
      case TWord::Hidden: st.Hidden = Flag(w); return;
      case TWord::ParagraphDefault:
        st.Align = TParaAlignment::Left;
        st.Bullet = st.InTable = false;
        return;
      case TWord::AlignLeft:
      case TWord::AlignJustify: st.Align = TParaAlignment::Left; return;
      case TWord::AlignCenter: st.Align = TParaAlignment::Center; return;
      case TWord::AlignRight: st.Align = TParaAlignment::Right; return;
      case TWord::InTable: st.InTable = true; return;
      case TWord::ListLevel:
        if (st.Dest == TDest::ListProps && st.ListOwner >= 0)
          stack_[static_cast<std::size_t>(st.ListOwner)].Bullet = true;
        return;
      case TWord::ListNumber: st.Bullet = w.Parameter > 0; return;
      case TWord::Paragraph:
      case TWord::SoftBreak:
      case TWord::Cell:
      case TWord::Row: Break(word); return;
      case TWord::Tab: Char(u'\t'); return;
      case TWord::LeftQuote: Char(u'\u2018'); return;
      case TWord::RightQuote: Char(u'\u2019'); return;
      case TWord::LeftDoubleQuote: Char(u'\u201C'); return;
      case TWord::RightDoubleQuote: Char(u'\u201D'); return;
      case TWord::EmDash: Char(u'\u2014'); return;
      case TWord::EnDash: Char(u'\u2013'); return;
      case TWord::BulletChar:
        if (paragraph_.Runs.empty() && st.Dest == TDest::Body) bulletWordFirst_ = true;
        Char(u'\u2022');
        return;
      case TWord::Space: Char(u' '); return;
      case TWord::Unicode: {
        const std::int32_t n = w.Parameter < 0 ? w.Parameter + 65536 : w.Parameter;
        Char(n >= 0 && n <= 0xFFFF ? static_cast<char16_t>(n) : u'?');
        skipUnits_ = st.UnicodeSkip;
        return;
      }
      case TWord::UnicodeSkip: st.UnicodeSkip = std::clamp(w.Parameter, 0, 16); return;
      default: ColorComponent(w); return;
    }
  }

  void StartFontEntry(std::int32_t number) {
    int index = FontIndex(number);
    if (index < 0) {
      index = static_cast<int>(fontNames_.size());
      fontNames_.emplace_back();
      fontIndex_.emplace(number, index);
    } else {
      fontNames_[static_cast<std::size_t>(index)].clear();  // a later entry of the number wins
    }
    currentFont_ = index;
    fontNameDone_ = false;
  }

  void ColorComponent(const TControlWord& w) {
    if (State().Dest != TDest::ColorTable) return;
    const auto value = static_cast<std::uint8_t>(std::clamp(w.Parameter, 0, 255));
    if (w.Letters == "red")
      pendingColor_.Red = value;
    else if (w.Letters == "green")
      pendingColor_.Green = value;
    else if (w.Letters == "blue")
      pendingColor_.Blue = value;
    else
      return;
    pendingColorSet_ = true;
  }

  void Break(TWord kind) {
    const TGroupState& st = State();
    if (st.Dest != TDest::Body) return;
    switch (kind) {
      case TWord::Paragraph:
        // A paragraph inside a table cell continues the cell's line.
        if (st.InTable) {
          if (!paragraph_.Runs.empty()) {
            const char16_t last = paragraph_.Runs.back().Text.back();
            if (last != u' ' && last != u'\t') Char(u' ');
          }
          return;
        }
        EndParagraph();
        return;
      case TWord::SoftBreak:
        if (!paragraph_.Runs.empty()) EndParagraph();
        return;
      case TWord::Cell:
        TrimBack(u' ', false);
        Char(u'\t');
        return;
      default:  // the end of a table row
        TrimBack(u' ', false);
        TrimBack(u'\t', true);
        EndParagraph();
        return;
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::vector<TGroupState> stack_;
  bool groupStart_ = false;  // the last token opened a group (or was the \* after one)
  bool starred_ = false;     // the group started with \*
  int skipUnits_ = 0;        // fallback characters of a \u still to skip

  std::vector<std::string> fontNames_;
  std::vector<std::string> links_;                   // the addresses of the hyperlink fields read so far
  std::string fieldInstruction_;                     // the text of the field instruction being read
  std::unordered_map<std::int32_t, int> fontIndex_;  // font number -> index into fontNames_
  std::int32_t defaultFont_ = 0;
  int currentFont_ = -1;  // the font table entry being read
  bool fontNameDone_ = false;

  std::vector<std::optional<TRgb>> colors_;
  TRgb pendingColor_;
  bool pendingColorSet_ = false;

  TRichDoc doc_;
  TRichParagraph paragraph_;
  bool formatChanged_ = true;
  bool bulletWordFirst_ = false;  // the paragraph starts with \bullet
};

}  // namespace

bool IsRtf(std::string_view text) { return text.starts_with("{\\rtf"); }

TRichDoc ReadRtf(std::string_view rtf) { return TRtfReader(rtf).Read(); }

TRichDoc ReadStoredText(std::string_view text) { return IsRtf(text) ? ReadRtf(text) : PlainTextDoc(text); }

}  // namespace pagolin
