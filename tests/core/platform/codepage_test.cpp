#include "core/platform/codepage.h"

#include <gtest/gtest.h>

namespace pagolin {
namespace {

TEST(CodePage, EveryByteSurvivesTheRoundTripThroughUtf8) {
  for (int b = 0; b < 256; ++b) {
    const std::string ansi(1, static_cast<char>(b));
    const std::string utf8 = AnsiToUtf8(ansi);
    EXPECT_EQ(Utf8ToAnsi(utf8), ansi) << "byte " << b;
    EXPECT_EQ(UnicodeToAnsiChar(AnsiCharToUnicode(static_cast<unsigned char>(b))), b);
  }
}

TEST(CodePage, HighBytesMapToTheirWindowsCharacters) {
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(AnsiToUtf8("\x93quoted\x94"), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
  EXPECT_EQ(AnsiToUtf8("Gr\xFC\xDF"), "Gr\xC3\xBC\xC3\x9F");
  EXPECT_EQ(Utf8ToAnsi("\xE2\x84\xA2"), "\x99");  // trade mark
}

TEST(CodePage, CharactersOutsideTheCodePageAndBrokenUtf8BecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToAnsi("a\xE4\xB8\xAD"
                       "b"),
            "a?b");                                // a CJK character
  EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80"), "?");  // an emoji
  EXPECT_EQ(Utf8ToAnsi("x\xC3"), "x?");            // cut off
  EXPECT_EQ(Utf8ToAnsi("\x80z"), "?z");            // stray continuation byte
}

// Long ASCII runs are tested eight bytes at a time: every byte value at every place within
// and around such a block must still be seen.
TEST(CodePage, EveryByteAtEveryOffsetOfALongTextSurvivesTheRoundTrip) {
  const std::string ascii = "abcdefghijklmnopqrstuvwxyz0123456789!";
  for (int b = 0; b < 256; ++b) {
    for (size_t at = 0; at <= ascii.size(); ++at) {
      std::string ansi = ascii;
      ansi.insert(at, 1, static_cast<char>(b));
      ASSERT_EQ(Utf8ToAnsi(AnsiToUtf8(ansi)), ansi) << "byte " << b << " at " << at;
    }
  }
  std::string broken = ascii + ascii;
  broken[17] = '\xC3';  // a lead byte followed by ASCII: cut off
  EXPECT_EQ(Utf8ToAnsi(broken), ascii.substr(0, 17) + "?" + ascii.substr(18) + ascii);
}

}  // namespace
}  // namespace pagolin
