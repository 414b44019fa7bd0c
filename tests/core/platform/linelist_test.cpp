#include "core/platform/linelist.h"

#include <gtest/gtest.h>

namespace pagolin {
namespace {

using Lines = std::vector<std::string>;

TEST(LineList, BreaksOfEveryKindEndALineAndAFinalBreakAddsNone) {
  EXPECT_EQ(TextToLines(""), Lines{});
  EXPECT_EQ(TextToLines("a"), Lines{"a"});
  EXPECT_EQ(TextToLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(TextToLines("a\n"), Lines{"a"});
  EXPECT_EQ(TextToLines("\n"), Lines{""});
  EXPECT_EQ(TextToLines("a\n\nb\n\n"), (Lines{"a", "", "b", ""}));
}

TEST(LineList, JoinIsTheInverseForLinesWithoutBreaks) {
  const Lines lines{"-- ", "", "Jo"};
  EXPECT_EQ(LinesToText(lines), "-- \r\n\r\nJo");
  EXPECT_EQ(TextToLines(LinesToText(lines, "\n")), lines);
  EXPECT_EQ(LinesToText({}), "");
}

}  // namespace
}  // namespace pagolin
