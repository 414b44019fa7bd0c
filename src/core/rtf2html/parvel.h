// TParvel: turns one rich text (RTF, as the rich editor writes it) into an HTML 3.2 fragment.
//
// One pass over the characters, no stack of groups: braces only switch the scanner between
// collecting a control word and passing text through, and a fixed list of control words opens
// and closes tags. The output is a tag stream, not a balanced tree (size, face and small tags
// are never closed); braces are counted only to find the end of a hyperlink field's parts.
// Texts are UTF-8 in and out; \uN gives a numeric reference, a hyperlink field an <A HREF>
// when its address is http, https, mailto or relative (otherwise its text alone).
//
// Any byte sequence is valid input: the conversion never reads past the end of the input and
// takes time linear in its length.
//
// Not thread-safe; one conversion at a time per instance (the progress handler must not start
// a second conversion on the same instance).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace pagolin {

class TParvel;

// Bit n of TParvelOptions is the n-th value.
enum class TParvelOption : std::uint8_t {
  soUseColors = 0,  // read the colour table, "cf" emits colour tags
  soUseTitle = 1,   // the wrapped head gets a TITLE made from Title
  soWrapHTML = 2,   // wrap the result in <HTML><HEAD>...</HEAD><BODY>...</BODY></HTML>
};

// A set of TParvelOption stored in one byte.
class TParvelOptions {
 public:
  constexpr TParvelOptions() = default;
  constexpr TParvelOptions(std::initializer_list<TParvelOption> options) {
    for (TParvelOption o : options) Include(o);
  }
  constexpr bool Contains(TParvelOption o) const { return (bits_ & Bit(o)) != 0; }
  constexpr void Include(TParvelOption o) { bits_ = static_cast<std::uint8_t>(bits_ | Bit(o)); }
  constexpr void Exclude(TParvelOption o) { bits_ = static_cast<std::uint8_t>(bits_ & ~Bit(o)); }
  constexpr std::uint8_t Bits() const { return bits_; }
  friend constexpr bool operator==(TParvelOptions, TParvelOptions) = default;

 private:
  static constexpr std::uint8_t Bit(TParvelOption o) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(o));
  }
  std::uint8_t bits_ = 0;
};

// Called during a conversion with a rising position (10, 20, ... and 100 at the end).
// Continue is true on entry; set it false to stop the conversion: the output then holds what
// was converted so far (wrapped when soWrapHTML is set), and no call with 100 follows.
using TProgressEvent = std::function<void(TParvel& Sender, std::int32_t Position, bool& Continue)>;

class TParvel {
 public:
  TParvel() = default;
  TParvel(const TParvel&) = delete;
  TParvel& operator=(const TParvel&) = delete;

  // --- Published properties, in this order -------------------------------------------------
  const TProgressEvent& OnProgress() const { return onProgress_; }
  void SetOnProgress(TProgressEvent handler) { onProgress_ = std::move(handler); }

  TParvelOptions Options() const { return options_; }
  void SetOptions(TParvelOptions options) { options_ = options; }

  // Used only with soUseTitle and soWrapHTML.
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  // Lines copied into the head, each followed by CR LF; used only with soWrapHTML.
  // Setting copies the lines; the instance never keeps the caller's list.
  const std::vector<std::string>& Headtags() const { return headtags_; }
  void SetHeadtags(const std::vector<std::string>& lines) { headtags_ = lines; }

  // --- The operation ------------------------------------------------------------------------
  // Converts RTF into HTML. RTF is taken by value, so the caller may pass the same variable
  // as both arguments.
  // When RTF does not start with "{\rtf1" (case-sensitive): shows the message
  // "Parvel: RTF header is missing. Conversion aborted." through ShowMessage and returns with
  // HTML, Colors, ColorIndex and PlainSeen unchanged and OnProgress not called.
  // Calls ProcessMessages once per scanned character or run of plain text (the hook throttles
  // itself), so a long conversion keeps the program responsive.
  void ConvertRTF(std::string RTF, std::string& HTML);

  // --- Component state (read-only views, for the caller and for tests) ---------------------
  // Colour table of the last conversion: entry n is colour n as hex text ("FF0000"); the list
  // always ends with one empty entry. Filled only with soUseColors.
  const std::vector<std::string>& Colors() const { return colors_; }
  // Number of the last colour selected by "cf"; carried over from one conversion to the next,
  // so a colour left open is closed by the first "plain" of the next conversion.
  std::int32_t ColorIndex() const { return colorIndex_; }
  // A "plain" has been seen in the last conversion (colour-table words are ignored after it).
  bool PlainSeen() const { return plainSeen_; }

  // --- Helpers of the converter ------------------------------------------------------------
  // The value of a hex escape's two characters, each from "0123456789abcdef" (lowercase only);
  // -1 when the text is not exactly two such characters.
  static int HexToByte(const std::string& hex);
  // The title with "<", ">", and the characters 169, 196, 228, 214, 246, 220, 252, 223
  // (UTF-8) replaced by their entities (EscapeHtml without line breaks). "&" and '"'
  // stay as they are.
  static std::string EncodeTitle(const std::string& title);
  // The program's one ReplaceAll (core/platform/replaceall.h), under the converter's name.
  static std::string ReplaceAll(const std::string& Text, const std::string& Search,
                                const std::string& Replacement);

 private:
  friend class TParvelScanner;

  TProgressEvent onProgress_;
  TParvelOptions options_;
  std::string title_;
  std::vector<std::string> headtags_;

  std::vector<std::string> colors_;
  std::int32_t colorIndex_ = 0;
  bool plainSeen_ = false;
};

}  // namespace pagolin
