#include "platform/codepage.h"

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
  EXPECT_EQ(Utf8ToAnsi("a\xE4\xB8\xAD" "b"), "a?b");      // a CJK character
  EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80"), "?");          // an emoji
  EXPECT_EQ(Utf8ToAnsi("x\xC3"), "x?");                    // cut off
  EXPECT_EQ(Utf8ToAnsi("\x80z"), "?z");                    // stray continuation byte
}

}  // namespace
}  // namespace pagolin
