#include "core/rtf2html/parvel.h"

#include "core/platform/codepage.h"
#include "core/platform/hooks.h"
#include "core/rtf2html/parvel_scanner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace pagolin {
namespace {

using Strings = std::vector<std::string>;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Golden(const std::string& name, const std::string& file) {
  return ReadFile(std::string(PAGOLIN_TEST_DATA) + "/rtf2html/" + name + "/" + file);
}

// The rich editor's font and colour tables, then the body. The closing "{}}" dispatches a
// word still being collected and adds nothing (the last two characters are never scanned).
const std::string kTables =
    "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman\\fcharset2 Symbol;}}"
    "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}";
std::string Doc(const std::string& body) { return kTables + body + "{}}"; }

const TParvelOptions kColors{TParvelOption::soUseColors};

std::string Convert(const std::string& rtf, TParvelOptions options = kColors) {
  TParvel parvel;
  parvel.SetOptions(options);
  std::string html = "unchanged";
  parvel.ConvertRTF(rtf, html);
  return html;
}

// Records the texts that reach the message hook while it lives.
class MessageRecorder {
 public:
  MessageRecorder() {
    TMessageHooks hooks;
    hooks.showMessage = [this](const std::string& text) { texts.push_back(text); };
    old_ = SetMessageHooks(hooks);
  }
  ~MessageRecorder() { SetMessageHooks(old_); }
  Strings texts;

 private:
  TMessageHooks old_;
};

TEST(Parvel, WorkedExampleWithColoursComesOutByteForByte) {
  const std::string input = Golden("worked_colors", "input.rtf");
  ASSERT_EQ(input.size(), 204u);
  TParvel parvel;
  parvel.SetOptions(kColors);
  std::vector<int> positions;
  parvel.SetOnProgress([&](TParvel& sender, std::int32_t position, bool& go) {
    EXPECT_EQ(&sender, &parvel);
    EXPECT_TRUE(go);
    positions.push_back(position);
  });
  std::string html;
  parvel.ConvertRTF(input, html);
  EXPECT_EQ(html, Golden("worked_colors", "expected.html"));
  EXPECT_EQ(parvel.Colors(), (Strings{"000000", "FF0000", ""}));
  EXPECT_EQ(positions, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
  EXPECT_TRUE(parvel.PlainSeen());
  EXPECT_EQ(parvel.ColorIndex(), 0);

  std::string scanned;
  TParvelScanner scanner(parvel, input, scanned);
  scanner.Scan();
  EXPECT_EQ(scanner.Fonts(), (Strings{"Arial", "Symbol"}));
  EXPECT_EQ(scanner.FontInfo().Size, 8);
  EXPECT_FALSE(scanner.FontInfo().InFontTable);
}

TEST(Parvel, WorkedBulletListComesOutByteForByte) {
  EXPECT_EQ(Convert(Golden("worked_bullets", "input.rtf")), Golden("worked_bullets", "expected.html"));
}

TEST(Parvel, MissingHeaderShowsTheMessageAndChangesNothing) {
  TParvel parvel;
  parvel.SetOptions(kColors);
  std::string html;
  parvel.ConvertRTF(Doc("\\cf1 x"), html);  // leaves colour 1 selected and a colour table
  int calls = 0;
  parvel.SetOnProgress([&](TParvel&, std::int32_t, bool&) { ++calls; });
  MessageRecorder messages;
  const Strings bad = {"{\\rtf2\\ansi x}", " {\\rtf1\\ansi x}", "{\\rtf", "", "{\\RTF1 x}", "\\rtf1{ x}"};
  for (const std::string& input : bad) {
    html = "field text";
    parvel.ConvertRTF(input, html);
    EXPECT_EQ(html, "field text") << input;
  }
  EXPECT_EQ(messages.texts, Strings(bad.size(), "Parvel: RTF header is missing. Conversion aborted."));
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(parvel.ColorIndex(), 1);
  EXPECT_EQ(parvel.Colors(), (Strings{"000000", "FF0000", ""}));
  EXPECT_FALSE(parvel.PlainSeen());
}

TEST(Parvel, InputAndOutputMayBeTheSameVariable) {
  TParvel parvel;
  std::string text = Doc("\\pard a & b");
  parvel.ConvertRTF(text, text);
  EXPECT_EQ(text, "a &amp; b");
}

struct Case {
  const char* body;
  const char* html;
};

void ExpectBodies(const std::vector<Case>& cases, TParvelOptions options = kColors) {
  for (const Case& c : cases) EXPECT_EQ(Convert(Doc(c.body), options), c.html) << c.body;
}

TEST(Parvel, ScannerPassesTextAndDropsWhatFollowsBracesAndUnendedWords) {
  ExpectBodies({
      {"{Hello}", ""},
      {"{ Hello}", "Hello"},
      {"\\par\r\nNext word", "<BR>\r\nword"},
      {"\\{\\}\\\\", "{}\\"},
      {"\\\\par x", "\\par x"},
      {"\\~b x", "<B>x"},
      {"\\-bc x", "x"},
      {"\\_ABC, x", "x"},
      // An apostrophe right after letters: the word waits until a backslash dispatches it.
      {"{b'e9 z\\i w}", "&eacute; z<B><I>w"},
      {"\\unknown \\fonttbl\\line\\ql x", "x"},
      {"a&b<c>d\"e\tf\r\n", "a&amp;b&lt;c&gt;d\"e\tf\r\n"},
      {"caf\xE9 \x93q\x94", "caf\xE9 \x93q\x94"},
  });
}

TEST(Parvel, ControlWordsOpenAndCloseTagsWithoutBalancing) {
  ExpectBodies({
      {"\\b\\b x\\plain y", "<B><B>x</B><FONT SIZE=2>y"},
      {"\\ul a\\ul0 b\\ulnone c\\i d\\i0 e\\b0 f", "<U>a</U>b</U>c<I>d</I>e</B>f"},
      {"\\i\\ul\\b x\\plain y", "<I><U><B>x</B></U></I><FONT SIZE=2>y"},
      {"\\tab\\rdblquot\\ldblquot\\rquote\\lquote x", "\t\"\"''x"},
      {"\\page x\\qc y\\par\\pard z", "<HR>x<CENTER>y<BR>\r\n</CENTER>z"},
      {"\\pnlvlblt\\pntext a\\par\\pard b\\par", "<UL><LI>a</LI></UL>b<BR>\r\n"},
      {"\\pard\\pard x", "x"},
      {"\\B\\Par x", "x"},
  });
}

TEST(Parvel, HexEscapesGoThroughTheEntityTable) {
  ExpectBodies({
      {"\\'e9\\'a0\\'ff\\'a8\\'d7", "&eacute;&nbsp;&yuml;&die;&times;"},
      {"\\'41\\'00\\'7f\\'9F x", " x"},
      {"\\'b7 \\pnlvlblt\\'b7 \\pard\\'b7", "&middot; <UL> </UL>&middot;"},
      // Not lowercase hex: the escape and its two characters yield nothing.
      {"\\'E9\\'g1\\'}x y", " y"},
      {"a\\'e9b", "a&eacute;b"},
  });
}

TEST(Parvel, HexEscapesOfTheCodePageLettersBelow160GiveNumericReferences) {
  // Compared with the code page table: a letter gives its code point, the five codes the code
  // page leaves undefined (they map to the control characters of the same value) give nothing.
  static constexpr char kHex[] = "0123456789abcdef";
  int letters = 0;
  for (int v = 0x80; v <= 0x9F; ++v) {
    const std::string escape = {'\\', '\'', kHex[v >> 4], kHex[v & 15], ' ', 'x'};
    const char32_t u = AnsiCharToUnicode(static_cast<unsigned char>(v));
    const std::string expected = u > 0x9F ? "&#" + std::to_string(u) + "; x" : " x";
    EXPECT_EQ(Convert(Doc(escape)), expected) << v;
    letters += u > 0x9F;
  }
  EXPECT_EQ(letters, 27);
  ExpectBodies({{"\\'80\\'93\\'94\\'85\\'99", "&#8364;&#8220;&#8221;&#8230;&#8482;"}});
}

TEST(Parvel, UnicodeWordsGiveNumericReferencesAndSkipTheirFallback) {
  ExpectBodies({
      {"\\u321 ?\\'f3d\\u378 ?", "&#321;&oacute;d&#378;"},
      {"\\u-10179 ?\\u-8704 ? x", "&#128512; x"},          // a UTF-16 pair is one character
      {"\\u20013\\'3f\\u25991\\'3f", "&#20013;&#25991;"},  // the fallback as a hex escape
      {"\\uc2\\u8364 EUx", "&#8364;x"},                    // \\ucN skips N characters
      {"\\uc0\\u8364 x", "&#8364;x"},
      {"{\\u8364}x", "&#8364;x"},               // a fallback ends with its group
      {"\\u-10179 ?\\u65 ?", "&#65533;&#65;"},  // half a pair
  });
}

TEST(Parvel, HyperlinkFieldsBecomeLinksOnlyForSafeAddresses) {
  ExpectBodies({
      {"{\\field{\\*\\fldinst HYPERLINK \"https://example.com/?a=1&b=\\'e4\"}{\\fldrslt \\ul Site}} x",
       "<A HREF=\"https://example.com/?a=1&amp;b=\xC3\xA4\"><U>Site</A> x"},
      {"{\\field{\\*\\fldinst HYPERLINK \"mailto:a@b.example\"}{\\fldrslt Mail}}",
       "<A HREF=\"mailto:a@b.example\">Mail</A>"},
      {"{\\field{\\*\\fldinst HYPERLINK \"news.htm\" \\\\l \"top\"}{\\fldrslt N}}",
       "<A HREF=\"news.htm#top\">N</A>"},
      {"{\\field{\\*\\fldinst HYPERLINK \"javascript:alert(1)\"}{\\fldrslt Text}}", "Text"},
      {"{\\field{\\*\\fldinst HYPERLINK \"a<b&c\"}{\\fldrslt T}}", "<A HREF=\"a&lt;b&amp;c\">T</A>"},
      {"{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}", "3"},
  });
}

TEST(Parvel, FontTableGivesFacesExceptSymbolAndUnknownNumbers) {
  ExpectBodies({
      {"\\f0 x\\f1 y\\f2 z\\f99999999999 w", "<FONT FACE=\"Arial\">xyz<FONT FACE=\"Arial\">w"},
  });
  // Text before the first font number is dropped; text between the font table and the colour
  // table joins the last font; the name is cut at its first ";".
  TParvel parvel;
  const std::string rtf =
      "{\\rtf1 lost{\\fonttbl{\\f0 Times;x}{\\f1 Sym\\{bol}}\r\n{\\colortbl;}\\f0 a\\f1 b{}}";
  std::string html;
  TParvelScanner scanner(parvel, rtf, html);
  scanner.Scan();
  EXPECT_EQ(scanner.Fonts(), (Strings{"Times", "Symbol\r\n"}));
  EXPECT_EQ(html, "{<FONT FACE=\"Times\">a<FONT FACE=\"Symbol\r\n\">b");
}

TEST(Parvel, LongFontNamesAndColoursAreBoundedSoOutputStaysLinear) {
  std::string greens;
  for (int i = 0; i < 40; ++i) greens += "\\green1";
  TParvel parvel;
  parvel.SetOptions(kColors);
  std::string html;
  parvel.ConvertRTF("{\\rtf1{\\fonttbl{\\f0 " + std::string(1000, 'N') + ";}}{\\colortbl\\red1" + greens +
                        "\\blue1;}\\f0 x\\cf0 y{}}",
                    html);
  ASSERT_EQ(parvel.Colors().size(), 2u);
  std::string bounded;  // red, then greens until 64 digits; the blue finds no room
  for (int i = 0; i < 32; ++i) bounded += "01";
  EXPECT_EQ(parvel.Colors()[0], bounded);
  EXPECT_EQ(html, "<FONT FACE=\"" + std::string(255, 'N') + "\">x<FONT COLOR=#" + parvel.Colors()[0] + ">y");
}

TEST(Parvel, WithoutColourTableAllTextGoesToTheFontTable) {
  EXPECT_EQ(Convert("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\plain hello\\'e9 world\\b x\\{y}"),
            "<FONT SIZE=2>&eacute;<B>{");
}

TEST(Parvel, FontSizesMapToHtmlSizes) {
  ExpectBodies({
      {"\\fs16 x", "<SMALL>x"},
      {"\\fs17 x", "<SMALL>x"},
      {"\\fs0 x", "<SMALL>x"},
      {"\\fs18 x", "<FONT SIZE=2>x"},
      {"\\fs24 x", "<FONT SIZE=3>x"},
      {"\\fs28 x", "<FONT SIZE=4>x"},
      {"\\fs32 x", "<FONT SIZE=5>x"},
      {"\\fs36 x", "<FONT SIZE=6>x"},
      {"\\fs55 x", "<FONT SIZE=6>x"},
      {"\\fs56 x", "<FONT SIZE=9>x"},
      {"\\fs4294967296 x", "<FONT SIZE=2>x"},  // not a 32-bit integer: 10 points
      {"\\fs2x x", "<FONT SIZE=2>x"},
      {"\\fs16\\fs16 x", "<SMALL>x"},
      {"\\fs16\\fs20\\fs16 x", "<SMALL><FONT SIZE=2><SMALL>x"},
      {"\\fs16\\plain\\fs16 x", "<SMALL><FONT SIZE=2><SMALL>x"},
  });
}

TEST(Parvel, ColoursAreReadAndSelectedOnlyWithUseColors) {
  ExpectBodies({
      {"\\cf1 a\\cf0 b\\cf2 c\\cf3 d", "<FONT COLOR=#FF0000>a<FONT COLOR=#000000>b<FONT COLOR=#>cd"},
      {"\\cf0 a\\plain b", "<FONT COLOR=#000000>a<FONT SIZE=2>b"},
      {"\\cf1 a\\plain b", "<FONT COLOR=#FF0000>a</FONT><FONT SIZE=2>b"},
      {"\\cf1x a", "<FONT COLOR=#000000>a"},
  });
  ExpectBodies({{"\\cf1 a\\plain b", "a<FONT SIZE=2>b"}}, TParvelOptions{});

  TParvel parvel;
  std::string html;
  parvel.ConvertRTF(Doc("\\cf1 a"), html);
  EXPECT_EQ(parvel.Colors(), Strings{""});
  EXPECT_EQ(parvel.ColorIndex(), 0);

  parvel.SetOptions(kColors);
  parvel.ConvertRTF(
      "{\\rtf1{\\colortbl\\red5\\green128\\blue0;;\\red256\\green-1\\blue2x;"
      "\\redo;}\\plain\\red1\\green2\\blue3;\\cf9 x{}}",
      html);
  EXPECT_EQ(parvel.Colors(), (Strings{"058000", "100FFFFFFFF00", "00"}));
  EXPECT_EQ(parvel.ColorIndex(), 9);
  EXPECT_EQ(html, "<FONT SIZE=2>x");
}

TEST(Parvel, ColourLeftOpenIsClosedByTheNextConversionsFirstPlain) {
  TParvel parvel;
  parvel.SetOptions(kColors);
  std::string html;
  parvel.ConvertRTF(Doc("\\cf1 red"), html);
  EXPECT_EQ(html, "<FONT COLOR=#FF0000>red");
  EXPECT_EQ(parvel.ColorIndex(), 1);
  parvel.ConvertRTF(Doc("a\\plain b\\plain c"), html);
  EXPECT_EQ(html, "a</FONT><FONT SIZE=2>b<FONT SIZE=2>c");
  EXPECT_EQ(parvel.ColorIndex(), 0);
}

TEST(Parvel, WrapsWithTitleAndHeadTags) {
  TParvel parvel;
  parvel.SetTitle("A<B");
  parvel.SetHeadtags({"<META a>", "<LINK b>"});
  std::string html;
  parvel.SetOptions({TParvelOption::soWrapHTML, TParvelOption::soUseTitle});
  parvel.ConvertRTF(Doc("x"), html);
  EXPECT_EQ(html,
            "<HTML><HEAD><TITLE>A&lt;B</TITLE><META a>\r\n<LINK b>\r\n</HEAD><BODY>x"
            "</BODY></HTML>");
  parvel.SetOptions({TParvelOption::soUseTitle});
  parvel.ConvertRTF(Doc("x"), html);
  EXPECT_EQ(html, "x");
  parvel.SetOptions({TParvelOption::soWrapHTML});
  parvel.SetHeadtags({});
  parvel.ConvertRTF(Doc("x"), html);
  EXPECT_EQ(html, "<HTML><HEAD></HEAD><BODY>x</BODY></HTML>");
}

TEST(Parvel, OptionsAreOneBytePerValue) {
  TParvelOptions o{TParvelOption::soUseColors, TParvelOption::soWrapHTML};
  EXPECT_EQ(o.Bits(), 0b101);
  o.Exclude(TParvelOption::soUseColors);
  o.Include(TParvelOption::soUseTitle);
  EXPECT_EQ(o.Bits(), 0b110);
  static_assert(sizeof(TParvelOptions) == 1);
}

// Calls the handler gets for an input of `length` characters without escapes.
std::vector<int> ProgressCalls(std::size_t length) {
  std::string rtf = kTables + "\\pard ";
  rtf.resize(length, 'x');
  TParvel parvel;
  std::vector<int> positions;
  parvel.SetOnProgress([&](TParvel&, std::int32_t p, bool&) { positions.push_back(p); });
  std::string html;
  parvel.ConvertRTF(rtf, html);
  return positions;
}

TEST(Parvel, ProgressStepIsATenthRoundedHalfToEven) {
  // 25 characters: step 2, so every third of the 23 scanned characters; 35: step 4.
  EXPECT_EQ(ProgressCalls(25).size(), 7u + 1u);
  EXPECT_EQ(ProgressCalls(35).size(), 6u + 1u);
  EXPECT_EQ(ProgressCalls(1000), (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST(Parvel, HandlerStopsTheConversionWithPartialOutput) {
  std::string body;
  for (int i = 0; i < 200; ++i) body += "\\b word \\b0 & \\'e9\\par ";
  const std::string rtf = Doc(body);
  const std::string full = Convert(rtf);

  TParvel parvel;
  parvel.SetOptions({TParvelOption::soUseColors, TParvelOption::soWrapHTML});
  std::vector<int> positions;
  parvel.SetOnProgress([&](TParvel&, std::int32_t p, bool& go) {
    positions.push_back(p);
    go = false;
  });
  std::string html;
  parvel.ConvertRTF(rtf, html);
  EXPECT_EQ(positions, std::vector<int>{10});
  const std::string head = "<HTML><HEAD></HEAD><BODY>", tail = "</BODY></HTML>";
  ASSERT_GT(html.size(), head.size() + tail.size());
  ASSERT_TRUE(html.starts_with(head) && html.ends_with(tail));
  const std::string part = html.substr(head.size(), html.size() - head.size() - tail.size());
  EXPECT_TRUE(full.starts_with(part));
  EXPECT_GT(part.size(), full.size() / 20);
  EXPECT_LT(part.size(), full.size() / 5);
}

TEST(Parvel, ShortcutsGiveWhatOneCharacterPerIterationGives) {
  std::string body;
  for (int i = 0; i < 300; ++i)
    body += "plain text, more text \\b bold\\b0 & <x> \\'e9\\par {b'e9 z\\i w}\\~ab\\{c ";
  const std::string rtf = Doc(body);
  for (std::int32_t stopAt = 10; stopAt <= 110; stopAt += 10) {
    std::string html[2];
    std::vector<int> calls[2];
    for (int runs = 0; runs < 2; ++runs) {
      TParvel parvel;
      parvel.SetOnProgress([&, runs](TParvel&, std::int32_t p, bool& go) {
        calls[runs].push_back(p);
        go = p < stopAt;
      });
      TParvelScanner(parvel, rtf, html[runs], runs == 1).Scan();
    }
    EXPECT_EQ(html[0], html[1]) << stopAt;
    EXPECT_EQ(calls[0], calls[1]) << stopAt;
  }
}

TEST(Parvel, LongConversionProcessesPendingMessages) {
  int processed = 0;
  TMessageHooks hooks;
  hooks.processMessages = [&] { ++processed; };
  TMessageHooks old = SetMessageHooks(hooks);
  TParvel parvel;
  // The clock throttle lets the hook through once 20 ms have passed; wait that long once.
  parvel.SetOnProgress([&](TParvel&, std::int32_t p, bool&) {
    if (p == 10) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  });
  std::string body;
  for (int i = 0; i < 100000; ++i) body += "word \\b bold\\b0 ";
  std::string html;
  parvel.ConvertRTF(Doc(body), html);
  SetMessageHooks(old);
  EXPECT_GE(processed, 1);
}

TEST(Parvel, TruncatedInputEndsCleanly) {
  // The last two characters are never scanned, but are read as the digits of an escape.
  EXPECT_EQ(Convert(kTables + "a\\'e9"), "a&eacute;");
  EXPECT_EQ(Convert(kTables + "a\\'e"), "a");
  EXPECT_EQ(Convert(kTables + "a\\\\x"), "a\\");
  EXPECT_EQ(Convert(kTables + "a\\\\"), "a");
  EXPECT_EQ(Convert(kTables + "a\\b"), "a");
  EXPECT_EQ(Convert("{\\rtf1"), "");
  EXPECT_EQ(Convert("{\\rtf1\\'"), "");
  const std::string input = Golden("worked_colors", "input.rtf");
  for (std::size_t n = 6; n <= input.size(); ++n) {
    const std::string out = Convert(input.substr(0, n));
    EXPECT_NE(out, "unchanged") << n;
  }
}

}  // namespace
}  // namespace pagolin
