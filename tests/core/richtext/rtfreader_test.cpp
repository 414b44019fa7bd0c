#include "core/richtext/rtfreader.h"

#include "core/richtext/rtfwriter.h"
#include "support/describedoc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pagolin {
namespace {

using test::Describe;

// Fonts 0 and 1, a colour table with the empty "auto" entry first.
const std::string kHead =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}}"
    "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

struct Case {
  std::string body;
  std::string doc;
};

void ExpectBodies(const std::vector<Case>& cases) {
  for (const Case& c : cases) EXPECT_EQ(Describe(ReadRtf(kHead + c.body + "}")), c.doc) << c.body;
}

TEST(RtfReader, CharacterFormatsFollowControlWordsAndGroups) {
  ExpectBodies({
      {"\\pard\\plain\\f0\\fs20 A\\'e9 & B\\par", "[L]<10>A\xC3\xA9 & B"},
      {"\\fs20 a\\b b\\b0 c\\i d\\i0\\ul e\\ulnone f\\ulw g\\ul0 h",
       "[L]<10>a<10 b>b<10>c<10 i>d<10 u>e<10>f<10 u>g<10>h"},
      {"{\\b x}y{\\i\\cf1 z}", "[L]<12 b>x<12>y<12 i #FF0000>z"},
      {"\\b\\i\\f1\\fs30\\cf1 a\\plain b", "[L]<Times New Roman 15 b i #FF0000>a<12>b"},
      {"\\cf0 a\\cf1 b\\cf2 c\\cf9 d", "[L]<12>a<12 #FF0000>b<12 #0000FF>c<12>d"},
      {"\\f7 x\\f1 y", "[L]<12>x<Times New Roman 12>y"},
      {"\\fs17 a\\fs0 b\\fs9999999999999999999999999999999999999999 c", "[L]<8>a<1>b<1638>c"},
  });
}

TEST(RtfReader, ParagraphsTakeTheAlignmentInForceAtTheirEnd) {
  ExpectBodies({
      {"\\qc a\\par\\qr b\\par\\qj c\\par\\pard d\\par", "[C]<12>a|[R]<12>b|[L]<12>c|[L]<12>d"},
      {"a\\par b", "[L]<12>a|[L]<12>b"},
      {"\\par\\par", "[L]|[L]"},
      {"a\\line b\\\r\nc\\\nd", "[L]<12>a|[L]<12>b|[L]<12>c|[L]<12>d"},
      {"a\r\nb\tc\\page\\page d\\sect", "[L]<12>ab\tc|[L]<12>d"},
  });
}

TEST(RtfReader, CharacterWordsEscapesAndUnicodeGiveTheirLetters) {
  ExpectBodies({
      {"\\lquote a\\rquote \\ldblquote b\\rdblquote \\emdash\\endash\\bullet\\~x\\tab y\\emspace z",
       "[L]<12>\xE2\x80\x98"
       "a\xE2\x80\x99\xE2\x80\x9C"
       "b\xE2\x80\x9D\xE2\x80\x94\xE2\x80\x93"
       "\xE2\x80\xA2\xC2\xA0x\ty z"},
      {"\\'e9\\'E9\\'80\\'9F\\'g1x", "[L]<12>\xC3\xA9\xC3\xA9\xE2\x82\xAC\xC5\xB8g1x"},
      {"\\u8364?a\\uc2\\u937\\'4f\\'4fb\\uc0\\u916 c\\uc1\\u-3 ?d{\\u8364}e",
       "[L]<12>\xE2\x82\xAC"
       "a\xCE\xA9"
       "b\xCE\x94"
       "c\xEF\xBF\xBD"
       "d\xE2\x82\xAC"
       "e"},
      {"\\u9999999999999999999999999999999999999999 ?x", "[L]<12>?x"},
      {"\\{\\}\\\\\\Bad x\\-y\\_z\\:w", "[L]<12>{}\\xy-zw"},
  });
}

TEST(RtfReader, ListParagraphsInEveryFormReadAsBullets) {
  ExpectBodies({
      // The rich editor's form: the list properties persist until \pard.
      {"\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}"
       "\\fi-200\\li200\\plain\\f0\\fs20 one\\par{\\pntext\\f1\\'b7\\tab}two\\par\\pard\\qc "
       "centre\\par\\pard ",
       "[L*]<10>one|[L*]<10>two|[C]<10>centre"},
      {"{\\listtext\\pard\\plain\\f1 \\'b7\\tab}\\pard\\ls1\\ilvl0 one\\par{\\listtext\\'b7\\tab}two\\par"
       "\\pard three\\par",
       "[L*]<12>one|[L*]<12>two|[L]<12>three"},
      {"{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}x\\par{\\*\\pn\\pnlvlcont}\\pard y", "[L*]<12>x|[L]<12>y"},
      {"{\\pard \\ql \\f0 \\sa0 \\li360 \\fi-360 \\bullet \\tx360\\tab First\\par}\\'95\\tab typed\\par",
       "[L*]<12>First|[L]<12>\xE2\x80\xA2\ttyped"},
  });
}

TEST(RtfReader, TableCellsAndRowsBecomeTabsAndParagraphs) {
  ExpectBodies({
      {"\\trowd\\cellx100\\cellx200\\pard\\intbl a\\cell b\\par c\\cell\\row\\pard d\\par",
       "[L]<12>a\tb c|[L]<12>d"},
      {"\\intbl a\\cell x\\nestcell y\\nestcell{\\*\\nesttableprops\\trowd\\nestrow}"
       "{\\nonesttables\\par}b\\cell\\row",
       "[L]<12>a\tx\ty|[L]<12>b"},
      {"{{\\pard\\intbl Product\\par}\\cell}{{\\pard\\intbl Preis\\par}\\cell}\\intbl\\row",
       "[L]<12>Product\tPreis"},
  });
}

TEST(RtfReader, DestinationsItDoesNotShowAreSkippedWhole) {
  ExpectBodies({
      {"\\v hidden\\v0 a{\\footnote note}{\\*\\unknown x}{\\info{\\title t}}{\\stylesheet{\\s0 Normal;}}"
       "{\\*\\themedata 01ab}{\\pict\\wmetafile8 0102}b{\\field{\\*\\fldinst HYPERLINK \"x\"}"
       "{\\fldrslt link}}{\\foo kept}",
       "[L]<12>ab<12 @x>link<12>kept"},
      {"a{\\pict\\bin3 }{\\}b\\bin2 {}c", "[L]<12>abc"},
      {"a}b", "[L]<12>ab"},
  });
}

TEST(RtfReader, StoredTextThatIsNotRtfIsPlainText) {
  EXPECT_TRUE(IsRtf("{\\rtf1 x}"));
  for (const char* text : {"{not rtf}", "plain", "", " {\\rtf1 x}", "{\\RTF1 x}"})
    EXPECT_FALSE(IsRtf(text)) << text;
  EXPECT_EQ(Describe(ReadStoredText("{not é rtf}")), "[L]<10>{not é rtf}");
  EXPECT_EQ(Describe(ReadStoredText("a\r\nb\nc\rd\r\n")), "[L]<10>a|[L]<10>b|[L]<10>c|[L]<10>d|[L]");
  EXPECT_EQ(Describe(ReadStoredText("")), "");
  EXPECT_EQ(PlainText(ReadStoredText("a\r\nb\n😀")), "a\r\nb\r\n😀");
}

TEST(RtfReader, MalformedRtfGivesTheTextItCouldRead) {
  const std::string nested = std::string(100000, '{') + "\\b deep" + std::string(100000, '}');
  const std::vector<Case> cases = {
      {"{\\rtf1 a{\\b b", "[L]<12>a<12 b>b"},
      {"{\\rtf1 a\\'e", "[L]<12>ae"},
      {"{\\rtf1 a\\", "[L]<12>a"},
      {"{\\rtf1 \\" + std::string(10000, 'a') + " text}", "[L]<12>text"},
      {"{\\rtf1 " + nested + " end}", "[L]<12 b>deep<12> end"},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(ReadRtf(c.body)), c.doc) << c.body.substr(0, 40);
}

}  // namespace
}  // namespace pagolin
