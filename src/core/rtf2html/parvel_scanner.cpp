#include "core/rtf2html/parvel_scanner.h"

#include "core/platform/codepage.h"
#include "core/platform/hooks.h"
#include "core/platform/hyperlink.h"
#include "core/rtf2html/parvel_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace pagolin {
namespace {

// Character classes, looked up in one table because the scanner asks per character.
enum : std::uint8_t {
  kWord = 1,      // collected into a control word: "a" to "z", "0" to "9", "-", "*"
  kOrdinary = 2,  // text that passes through unchanged and leaves the state as it is
  kGroup = 4,     // "{", "}", "\\": switches the control flag on
};

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    const bool word = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '*';
    const bool group = c == '{' || c == '}' || c == '\\';
    const bool ordinary = !group && c != '&' && c != '<' && c != '>';
    classes[static_cast<std::size_t>(c)] =
        static_cast<std::uint8_t>((word ? kWord : 0) | (ordinary ? kOrdinary : 0) | (group ? kGroup : 0));
  }
  return classes;
}
constexpr std::array<std::uint8_t, 256> kClasses = MakeClasses();

bool Is(char c, std::uint8_t cls) { return (kClasses[static_cast<unsigned char>(c)] & cls) != 0; }
bool IsWordChar(char c) { return Is(c, kWord); }
bool IsGroupOrEscape(char c) { return Is(c, kGroup); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::size_t kMaxRun = 256;

// Every "f" and "cf" word copies a font name or a colour text into the output, so without a
// bound a long name used by many words would make the output grow with the square of the
// input. Real names are under 32 characters and colours 6 digits; what goes beyond these
// bounds is dropped.
constexpr std::size_t kMaxFontName = 255;
constexpr std::size_t kMaxColorText = 64;

void AppendBounded(std::string& to, std::string_view text, std::size_t bound) {
  if (to.size() < bound) to.append(text.substr(0, bound - to.size()));
}

// A tenth of the input length, rounded to the nearest integer, halves to the even neighbour.
std::size_t ProgressStep(std::size_t length) {
  std::size_t step = length / 10;
  const std::size_t remainder = length % 10;
  if (remainder > 5 || (remainder == 5 && step % 2 == 1)) ++step;
  return step;
}

}  // namespace

TParvelScanner::TParvelScanner(TParvel& owner, std::string_view rtf, std::string& html, bool shortcuts)
    : owner_(owner), rtf_(rtf), html_(html), shortcuts_(shortcuts) {}

bool TParvelScanner::Scan() {
  const char* const s = rtf_.data();
  const std::size_t n = rtf_.size();
  // The character after the end reads as NUL, which is neither text that matters nor a brace.
  auto at = [s, n](std::size_t i) { return i < n ? s[i] : '\0'; };

  // A copy, so that a handler which reassigns OnProgress does not destroy itself mid-call.
  const TProgressEvent progress = owner_.onProgress_;
  const bool hasProgress = static_cast<bool>(progress);
  std::size_t iterations = 0;
  const std::size_t step = ProgressStep(n);
  std::size_t counter = 0;
  std::int32_t position = 0;
  bool goOn = true;

  bool control = true;
  // The word being collected. Its letters always stand side by side in the input (a word
  // character is only collected right after another one or into an empty word, and a word
  // left over by a hex escape is dispatched by the brace or backslash that switches the
  // control flag on again), so the word is a view into the input; wordCopy is the plain
  // buffer, kept only without shortcuts to check that claim against.
  std::size_t wordStart = 0;
  std::size_t wordLength = 0;
  std::string wordCopy;
  std::size_t i = 0;
  char c = at(0);

  // Where the run of characters of class cls that starts at i ends. Over ordinary text, and
  // over the letters of a control word, every iteration would change nothing but the output
  // or the word and the progress counter, so a run takes one iteration. It stops before the
  // last two characters, before the iteration that calls the progress handler, and after
  // kMaxRun characters.
  auto runEnd = [&](std::uint8_t cls) {
    std::size_t limit = std::min(n - 2, i + kMaxRun);
    if (hasProgress) limit = std::min(limit, i + 1 + (step - counter));
    std::size_t end = i + 1;
    while (end < limit && Is(s[end], cls)) ++end;
    return end;
  };
  // The last two characters are never the current one: they can only be read as the digits of
  // a hex escape or as an escaped symbol.
  while (i + 2 < n) {
    if (c == '{') {
      ++depth_;
    } else if (c == '}') {
      GroupEnds();
      --depth_;
    }
    if (control) {
      if (IsWordChar(c)) {
        if (wordLength == 0) wordStart = i;
        if (shortcuts_) {
          const std::size_t end = runEnd(kWord);
          wordLength += end - i;
          counter += end - i - 1;
          i = end - 1;
          c = s[i];
        } else {
          ++wordLength;
          wordCopy += c;
        }
      } else if (c == '\'') {
        const char escape[3] = {'\'', s[i + 1], s[i + 2]};
        HandleControlWord(std::string_view(escape, 3));
        control = false;
        i += 2;
      } else {
        if (wordLength != 0)
          HandleControlWord(shortcuts_ ? std::string_view(s + wordStart, wordLength)
                                       : std::string_view(wordCopy));
        if (c == ' ') control = false;
        wordLength = 0;
        wordCopy.clear();
      }
    } else if (font_.InFontTable) {
      FontTableChar(c);
    } else if (fallback_ > 0) {
      // A character of the fallback of a \u word; a UTF-8 letter takes its following bytes along.
      --fallback_;
      while ((static_cast<unsigned char>(c) & 0xC0) == 0xC0 && i + 3 < n &&
             (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
        c = s[++i];
      }
    } else {
      switch (c) {
        case '&': html_ += "&amp;"; break;
        case '<': html_ += "&lt;"; break;
        case '>': html_ += "&gt;"; break;
        default:
          if (!shortcuts_) {
            html_ += c;
            break;
          }
          const std::size_t end = runEnd(kOrdinary);
          html_.append(s + i, end - i);
          counter += end - i - 1;
          i = end - 1;
          c = s[i];
          break;
      }
    }

    if (c == '}') control = false;
    if (c == '{' || c == '}') fallback_ = 0;  // a fallback ends with its group
    const char left = c;
    c = at(++i);
    if (IsGroupOrEscape(c)) control = true;
    if (left == '\\' && IsGroupOrEscape(c)) {
      // An escaped brace or backslash stands for itself, even inside the font table.
      control = false;
      if (fallback_ > 0)
        --fallback_;
      else
        html_ += c;
      c = at(++i);
      if (IsGroupOrEscape(c)) control = true;
    }

    // The hook throttles itself by a counter and the clock; calling it every 64th iteration
    // (an iteration may copy a run of text) keeps even the call off the per-character cost.
    if ((++iterations & 63) == 0) ProcessMessages();

    if (hasProgress && ++counter > step) {
      counter = 0;
      position += 10;
      progress(owner_, position, goOn);
      if (!goOn) break;
    }
  }
  return goOn;
}

void TParvelScanner::FontTableChar(char c) {
  const std::int32_t no = font_.FontNo;
  if (no < 0) return;
  const auto index = static_cast<std::size_t>(no);
  if (index == fonts_.size()) fonts_.emplace_back();
  if (index < fonts_.size() && fonts_[index].size() < kMaxFontName) fonts_[index] += c;
}

// The rows of the dispatch table, tried in their order; rows with different first letters
// can never both match, so the first letter picks the group of rows to try.
void TParvelScanner::HandleControlWord(std::string_view w) {
  if (w.empty()) return;
  if (w[0] == '\'') {
    if (fallback_ > 0) {
      --fallback_;
      return;
    }
  } else if (w[0] != 'u') {
    fallback_ = 0;
  }
  const bool colors = owner_.options_.Contains(TParvelOption::soUseColors);
  switch (w[0]) {
    case 'p':
      if (w == "par") {
        html_ += style_.InList ? "</LI>" : "<BR>\r\n";
      } else if (w == "pnlvlblt") {
        html_ += "<UL>";
        style_.InList = true;
      } else if (w == "pntext") {
        html_ += "<LI>";
      } else if (w == "page") {
        html_ += "<HR>";
      } else if (w == "pard") {
        if (style_.InList) html_ += "</UL>";
        if (style_.Centered) html_ += "</CENTER>";
        style_.InList = false;
        style_.Centered = false;
      } else if (w == "plain") {
        Plain();
      }
      return;
    case 'u':
      if (w == "ul") {
        html_ += "<U>";
        style_.Underline = true;
      } else if (w == "ul0" || w == "ulnone") {
        html_ += "</U>";
        style_.Underline = false;
      } else if (w.size() >= 2 && (IsDigit(w[1]) || w[1] == '-')) {
        Unicode(w.substr(1));
      } else if (w.size() >= 3 && w[1] == 'c' && IsDigit(w[2])) {
        fallbackLength_ = std::clamp(parvel::ParseInt(w.substr(2)).value_or(1), 0, 16);
      } else {
        fallback_ = 0;
      }
      return;
    case 'b':
      if (w == "b") {
        html_ += "<B>";
        style_.Bold = true;
      } else if (w == "b0") {
        html_ += "</B>";
        style_.Bold = false;
      } else if (colors && !owner_.plainSeen_ && w.starts_with("blue")) {
        ColorComponent(w);
      }
      return;
    case 'i':
      if (w == "i") {
        html_ += "<I>";
        style_.Italic = true;
      } else if (w == "i0") {
        html_ += "</I>";
        style_.Italic = false;
      }
      return;
    case 't':
      if (w == "tab") html_ += '\t';
      return;
    case 'r':
      if (w == "rdblquot") {
        html_ += '"';
      } else if (w == "rquote") {
        html_ += '\'';
      } else if (colors && !owner_.plainSeen_ && w.starts_with("red")) {
        ColorComponent(w);
      }
      return;
    case 'l':
      if (w == "ldblquot") {
        html_ += '"';
      } else if (w == "lquote") {
        html_ += '\'';
      }
      return;
    case '\'': HexEscape(w); return;
    case 'q':
      if (w == "qc") {
        html_ += "<CENTER>";
        style_.Centered = true;
      }
      return;
    case 'f':
      if (w.size() >= 3 && w[1] == 's' && IsDigit(w[2])) {
        FontSize(w.substr(2));
      } else if (w.size() >= 2 && IsDigit(w[1])) {
        FontFace(w.substr(1));
      } else if (w == "fldinst") {
        instructionDepth_ = depth_;
        instructionStart_ = html_.size();
      } else if (w == "fldrslt") {
        if (linkDepth_ < 0 && IsLinkableAddress(fieldLink_)) {
          html_ += "<A HREF=\"" + HtmlAttribute(fieldLink_) + "\">";
          linkDepth_ = depth_;
        }
        fieldLink_.clear();
      }
      return;
    case 'c':
      if (w == "colortbl") {
        ColorTable();
      } else if (colors && w.size() >= 3 && w[1] == 'f' && IsDigit(w[2])) {
        SelectColor(w.substr(2));
      }
      return;
    case 'g':
      if (colors && !owner_.plainSeen_ && w.starts_with("green")) ColorComponent(w);
      return;
    default: return;
  }
}

void TParvelScanner::HexEscape(std::string_view word) {
  const int value = TParvel::HexToByte(std::string(word.substr(1)));
  // The code page's letters from 128 to 159 (euro sign, curly quotes, dashes) have no entity
  // name: a numeric reference keeps them. The five codes the code page leaves undefined give
  // nothing, as does ASCII and an escape whose digits are not lowercase hex.
  if (value >= 0x80 && value <= 0x9F) {
    const char32_t letter = AnsiCharToUnicode(static_cast<unsigned char>(value));
    if (letter > 0x9F) html_ += "&#" + std::to_string(letter) + ";";
    return;
  }
  if (value == 0xB7 && style_.InList) return;  // the bullet marker of a list item
  if (const char* entity = parvel::EntityName(value)) html_ += entity;
}

void TParvelScanner::GroupEnds() {
  if (depth_ == instructionDepth_) {
    // The instruction's text went into the output like any text: taken back out and read.
    fieldLink_ = HyperlinkAddress(parvel::UnescapeHtml(std::string_view(html_).substr(instructionStart_)));
    html_.resize(instructionStart_);
    instructionDepth_ = -1;
  } else if (depth_ == linkDepth_) {
    html_ += "</A>";
    linkDepth_ = -1;
  }
}

void TParvelScanner::Unicode(std::string_view parameter) {
  const std::optional<std::int32_t> value = parvel::ParseInt(parameter);
  fallback_ = fallbackLength_;
  if (!value || *value < -32768 || *value > 65535) return;
  const auto unit = static_cast<char32_t>(*value < 0 ? *value + 65536 : *value);
  auto reference = [this](char32_t u) { html_ += "&#" + std::to_string(u) + ";"; };
  if (highSurrogate_ != 0) {
    if (unit >= 0xDC00 && unit < 0xE000) {
      reference(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
      highSurrogate_ = 0;
      return;
    }
    reference(0xFFFD);  // a high surrogate without its low one
    highSurrogate_ = 0;
  }
  if (unit >= 0xD800 && unit < 0xDC00) {
    highSurrogate_ = unit;
  } else {
    reference(unit >= 0xDC00 && unit < 0xE000 ? 0xFFFD : unit);
  }
}

void TParvelScanner::Plain() {
  owner_.plainSeen_ = true;
  if (owner_.colorIndex_ >= 1) {
    html_ += "</FONT>";
    owner_.colorIndex_ = 0;
  }
  if (style_.Bold) {
    html_ += "</B>";
    style_.Bold = false;
  }
  if (style_.Underline) {
    html_ += "</U>";
    style_.Underline = false;
  }
  if (style_.Italic) {
    html_ += "</I>";
    style_.Italic = false;
  }
  style_.Small = false;
  html_ += "<FONT SIZE=2>";
}

void TParvelScanner::FontSize(std::string_view parameter) {
  const auto halfPoints = parvel::ParseInt(parameter);
  const std::int32_t points = halfPoints ? *halfPoints / 2 : 10;
  font_.Size = points;
  if (points <= 8) {
    if (!style_.Small) {
      html_ += "<SMALL>";
      style_.Small = true;
    }
  } else if (points <= 11) {
    html_ += "<FONT SIZE=2>";
  } else if (points <= 13) {
    html_ += "<FONT SIZE=3>";
  } else if (points <= 15) {
    html_ += "<FONT SIZE=4>";
  } else if (points <= 17) {
    html_ += "<FONT SIZE=5>";
  } else if (points <= 27) {
    html_ += "<FONT SIZE=6>";
  } else {
    html_ += "<FONT SIZE=9>";
  }
  if (style_.Small && points >= 9) style_.Small = false;
}

void TParvelScanner::FontFace(std::string_view parameter) {
  font_.FontNo = parvel::ParseInt(parameter).value_or(0);
  if (font_.InFontTable) return;
  // A number without an entry in the font table has no face to show.
  if (font_.FontNo < 0 || static_cast<std::size_t>(font_.FontNo) >= fonts_.size()) return;
  const std::string& name = fonts_[static_cast<std::size_t>(font_.FontNo)];
  if (name == "Symbol") return;
  html_ += "<FONT FACE=\"";
  html_ += name;
  html_ += "\">";
}

void TParvelScanner::ColorTable() {
  font_.InFontTable = false;
  for (std::string& name : fonts_) {
    const std::size_t semicolon = name.find(';');
    if (semicolon != std::string::npos) name.erase(semicolon);
  }
}

void TParvelScanner::SelectColor(std::string_view parameter) {
  owner_.colorIndex_ = parvel::ParseInt(parameter).value_or(0);
  const std::vector<std::string>& colors = owner_.colors_;
  if (owner_.colorIndex_ < 0 || static_cast<std::size_t>(owner_.colorIndex_) >= colors.size()) return;
  html_ += "<FONT COLOR=#";
  html_ += colors[static_cast<std::size_t>(owner_.colorIndex_)];
  html_ += ">";
}

void TParvelScanner::ColorComponent(std::string_view word) {
  std::vector<std::string>& colors = owner_.colors_;
  if (colors.empty()) colors.emplace_back();  // the list always ends with the entry to fill
  const std::size_t prefix = word[0] == 'g' ? 5 : word[0] == 'b' ? 4 : 3;
  const auto value = parvel::ParseInt(word.substr(prefix));
  const std::string text = value ? parvel::ColorComponent(*value) : std::string("00");
  switch (word[0]) {
    case 'r': colors.back() = text; break;
    case 'g': AppendBounded(colors.back(), text, kMaxColorText); break;
    default:
      AppendBounded(colors.back(), text, kMaxColorText);
      colors.emplace_back();
      break;
  }
}

}  // namespace pagolin
