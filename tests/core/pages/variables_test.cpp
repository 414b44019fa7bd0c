#include "core/pages/variables.h"

#include <gtest/gtest.h>

#include <random>

#include "core/platform/replaceall.h"

namespace pagolin {
namespace {

std::string InTurnByPasses(std::string text, const TVariables& variables) {
  for (const auto& [placeholder, value] : variables) text = ReplaceAll(text, placeholder, value);
  return text;
}

TEST(ReplaceInTurn, OverlappingPlaceholdersFollowTheOrderOfTheVariables) {
  EXPECT_EQ(ReplaceInTurn("%B%A%", {{"%A%", "x"}, {"%B%", "y"}}), "%Bx");
  EXPECT_EQ(ReplaceInTurn("%B%A%", {{"%B%", "y"}, {"%A%", "x"}}), "yA%");
  // A value completes the placeholder of a later variable, not of an earlier one.
  EXPECT_EQ(ReplaceInTurn("%A%%B%C%", {{"%A%", "x"}, {"%xB%", "!"}, {"%C%", "c"}}), "x%Bc");
  EXPECT_EQ(ReplaceInTurn("%%A%B%", {{"%BB%", "?"}, {"%A%", "B"}}), "%BB%");
  EXPECT_EQ(ReplaceInTurn("%%A%B%", {{"%A%", "B"}, {"%BB%", "?"}}), "?");
  // Joined neighbours form a placeholder of a later variable.
  EXPECT_EQ(ReplaceInTurn("%X%A%Y%", {{"%A%", "-"}, {"%X-Y%", "joined"}}), "joined");
  // Names alike in their first eight bytes; a joined stretch compared with a longer name.
  EXPECT_EQ(ReplaceInTurn("%LONGNAME1Y%%LONGNAME1X%", {{"%LONGNAME1X%", "x"}, {"%LONGNAME1Y%", "y"}}), "yx");
  EXPECT_EQ(ReplaceInTurn("%x%A%yLONGER%", {{"%A%", "BC"}, {"%xBCyLONGER%", "!"}}), "!");
  EXPECT_EQ(ReplaceInTurn("%x%A%yLONGER%", {{"%A%", "BC"}, {"%xBCyLONGEST%", "!"}}), "%xBCyLONGER%");
  EXPECT_EQ(ReplaceInTurn("%LONGLEFT%A%R%", {{"%A%", "v"}, {"%LONGLEFTvR%", "!"}}), "!");
  EXPECT_EQ(ReplaceInTurn("no signs", {{"%A%", "x"}}), "no signs");
  EXPECT_EQ(ReplaceInTurn("%A%", {}), "%A%");
}

TEST(ReplaceInTurn, OneScanOnlyWhereItCannotDiffer) {
  EXPECT_TRUE(OneScanGivesSameResult({{"%A%", "x"}, {"%B%", "yy"}, {"%%", "e"}}));
  EXPECT_FALSE(OneScanGivesSameResult({{"%A%", ""}}));      // an empty value joins neighbours
  EXPECT_FALSE(OneScanGivesSameResult({{"%AB%", "B"}}));    // "%A" + "B" + "%" forms it again
  EXPECT_FALSE(OneScanGivesSameResult({{"%A%", "100%"}}));  // a value with '%'
  EXPECT_FALSE(OneScanGivesSameResult({{"%A%B%", "x"}}));   // a name with '%'
  EXPECT_FALSE(OneScanGivesSameResult({{"AB", "x"}}));      // not a placeholder of a name
  // Both ways give the passes' result where one scan may not be used.
  EXPECT_EQ(ReplaceInTurn("%%A%%", {{"%A%", "A"}}), "A");
  EXPECT_EQ(ReplaceInTurn("%A%B%", {{"%A%", "%"}, {"%B%", "z"}}), "z");
}

// Texts, names and values over a small alphabet, so that overlaps, joins and placeholders
// formed by values come up often; the result must be that of the passes in turn.
TEST(ReplaceInTurn, MatchesPassesInTurnOnRandomInputs) {
  std::mt19937 rng(20261207);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto word = [&](const char* alphabet, int maxLength) {
    std::string s;
    const int length = pick(maxLength + 1);
    const int letters = static_cast<int>(std::char_traits<char>::length(alphabet));
    for (int i = 0; i < length; ++i) s += alphabet[pick(letters)];
    return s;
  };
  const char* names[] = {"A", "B", "AB", "BA", "", "AAB", "A%B"};
  int oneScan = 0;
  const int cases = 20000;
  for (int c = 0; c < cases; ++c) {
    TVariables variables;
    const int count = 1 + pick(4);
    // Most cases with values the single scan takes; the rest with any value.
    const bool anyValue = pick(4) == 0;
    for (int v = 0; v < count; ++v)
      variables.emplace_back("%" + std::string(names[pick(anyValue ? 7 : 6)]) + "%",
                             anyValue ? word("%AB", 3) : word("ABC", 3));
    const std::string text = word("%%AB", 14);
    if (OneScanGivesSameResult(variables)) ++oneScan;
    ASSERT_EQ(ReplaceInTurn(text, variables), InTurnByPasses(text, variables))
        << "case " << c << ": text \"" << text << "\", first placeholder " << variables[0].first;
  }
  EXPECT_GT(oneScan, cases / 5);  // the single scan was really tried
}

}  // namespace
}  // namespace pagolin
