#include "core/richtext/rtfwriter.h"

#include "core/platform/hooks.h"
#include "core/richtext/rtfreader.h"
#include "support/describedoc.h"
#include "support/pagehtml.h"
#include "support/richtextcorpus.h"

#include <gtest/gtest.h>

#include <string>

namespace pagolin {
namespace {

using test::Describe;
using test::PageHtml;

TEST(RtfWriter, WritesTheRichEditorsOneLineForm) {
  const TRichDoc doc = ReadRtf(
      "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}{\\colortbl;\\red255\\green0\\blue0;"
      "\\red0\\green0\\blue255;}\\pard\\plain\\f0\\fs20 A\\'e9 & B\\par"
      "\\pard\\qc\\f1\\fs24\\cf1\\b\\i\\ul r\\{\\}\\\\\\tab\\u8364?\\u937?\\u-10179?\\u-8704?\\par"
      "\\pard{\\*\\pn\\pnlvlblt}\\plain\\f0\\fs20\\cf2 one\\par two\\par\\pard\\qr\\par}");
  ASSERT_EQ(Describe(doc),
            "[L]<10>A\xC3\xA9 & B|[C]<Times New Roman 12 b i u #FF0000>r{}\\\t\xE2\x82\xAC\xCE\xA9"
            "\xF0\x9F\x98\x80|[L*]<10 #0000FF>one|[L*]<10 #0000FF>two|[R]");
  EXPECT_EQ(
      WriteRtf(doc),
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Times New Roman;}"
      "{\\f2\\froman\\fcharset2 Symbol;}}{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;"
      "\\red0\\green0\\blue255;}"
      "\\pard\\plain\\f0\\fs20 A\\'e9 & B\\par"
      "\\pard\\qc\\plain\\f1\\fs24\\cf1\\b\\i\\ul r\\{\\}\\\\\\tab \\'80\\u937 ?\\u-10179 ?\\u-8704 ?\\par"
      "\\pard{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\fi-200\\li200{\\pntext\\f2\\'b7\\tab}"
      "\\plain\\f0\\fs20\\cf2 one\\par"
      "{\\pntext\\f2\\'b7\\tab}\\plain\\f0\\fs20\\cf2 two\\par"
      "\\pard\\qr\\par }");
  EXPECT_EQ(WriteRtf(TRichDoc{}), "{\\rtf1\\ansi{\\fonttbl}{\\colortbl\\red0\\green0\\blue0;}}");
}

TEST(RtfWriter, TheConverterTurnsWhatItWritesIntoTheExpectedTags) {
  const TRichDoc doc = ReadRtf(
      "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\\pard\\f0\\fs20 "
      "\\b Bold\\b0  caf\\'e9 \\'93q\\'94\\par\\qc\\cf1\\fs28 big red\\par"
      "\\pard{\\*\\pn\\pnlvlblt}\\cf0\\fs20 one\\par two\\par\\pard end\\par}");
  EXPECT_EQ(PageHtml(WriteRtf(doc)),
            "<FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=2><B>Bold</B><FONT SIZE=2>"
            "<FONT FACE=\"Arial\"><FONT SIZE=2> caf&eacute; &#8220;q&#8221;<BR>\r\n"
            "<CENTER><FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=4><FONT COLOR=#FF0000>big red<BR>\r\n"
            "</CENTER><UL><LI>\t</FONT><FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=2>one</LI>"
            "<LI>\t<FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=2>two</LI>"
            "</UL><FONT SIZE=2><FONT FACE=\"Arial\"><FONT SIZE=2>end");
}

// Every document of the corpus: reading what the writer wrote gives the same document, the
// second writing gives the same bytes, the converter keeps every letter and digit of the
// text, and the text is the one a person reads in the file (where the corpus gives it).
TEST(RtfWriter, CorpusRoundTripsAndReachesTheConverterWhole) {
  TMessageHooks quiet;
  quiet.showMessage = [](const std::string& text) { ADD_FAILURE() << text; };
  const TMessageHooks old = SetMessageHooks(quiet);
  const auto corpus = test::RichTextCorpus();
  ASSERT_GE(corpus.size(), 16u);
  for (const test::TCorpusText& item : corpus) {
    SCOPED_TRACE(item.name);
    const TRichDoc first = ReadRtf(item.rtf);
    ASSERT_FALSE(first.Paragraphs.empty());
    const std::string written = WriteRtf(first);
    const TRichDoc second = ReadRtf(written);
    EXPECT_EQ(Describe(second), Describe(first));
    EXPECT_TRUE(second == first);
    EXPECT_EQ(WriteRtf(second), written);
    EXPECT_EQ(test::HtmlAlnum(PageHtml(written)), test::Alnum(PlainText(first)));
    if (!item.text.empty()) {
      EXPECT_EQ(PlainText(first), item.text);
    }
  }
  SetMessageHooks(old);
}

}  // namespace
}  // namespace pagolin
