#include "core/platform/replaceall.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "core/rtf2html/parvel.h"
#include "support/naive.h"

namespace pagolin {
namespace {

using test::SearchFromStart;

TEST(ReplaceAll, ReplacesEveryOccurrenceAndWhatReplacementsFormWithNeighbours) {
  EXPECT_EQ(ReplaceAll("%A%%A%", "%A%", "x"), "xx");
  EXPECT_EQ(ReplaceAll("%NA%NAME%ME%", "%NAME%", ""), "");
  EXPECT_EQ(ReplaceAll("aaaab", "ab", "b"), "b");
  EXPECT_EQ(ReplaceAll("aaab", "ab", "bb"), "bbbb");
  EXPECT_EQ(ReplaceAll("no placeholder here", "%NAME%", "x"), "no placeholder here");
  EXPECT_EQ(ReplaceAll("%name% stays", "%NAME%", "x"), "%name% stays");
}

TEST(ReplaceAll, EmptyPlaceholderLeavesTextUnchanged) {
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("", "", "x"), "");
}

TEST(ReplaceAll, ReplacementHoldingItsPlaceholderReplacesEachOccurrenceOnce) {
  EXPECT_EQ(ReplaceAll("a %NAME% b %NAME%", "%NAME%", "<%NAME%>"), "a <%NAME%> b <%NAME%>");
  EXPECT_EQ(ReplaceAll("%A%", "%A%", "%A%"), "%A%");
}

// The two endless inputs: "aba" -> "baab" on "aaba" grows without end by the rule, and so does
// a variable A with the value "A%%A" on "%%A%". They end, and the first replacement is made
// as the rule makes it.
TEST(ReplaceAll, EndsOnInputsWhoseRuleNeverEnds) {
  const std::string grown = ReplaceAll("aaba", "aba", "baab");
  EXPECT_GT(grown.size(), 4u);
  EXPECT_LT(grown.size(), 100000u);
  EXPECT_EQ(grown.substr(0, 1), "b");

  const std::string variable = ReplaceAll("%%A%", "%A%", "A%%A");
  EXPECT_GT(variable.size(), 4u);
  EXPECT_LT(variable.size(), 100000u);
  EXPECT_EQ(variable.substr(0, 3), "AAA");  // the rule prepends an "A" at every other step

  // A long page with many such occurrences still ends, bounded by its size.
  std::string page;
  for (int i = 0; i < 2000; ++i) page += "<p>%%A%</p>";
  const std::string out = ReplaceAll(page, "%A%", "A%%A");
  EXPECT_LT(out.size(), 200 * page.size());
}

// Every input on which the rule ends (within a modest number of steps) gets the rule's result:
// random texts over small alphabets, where replacements often form new occurrences.
TEST(ReplaceAll, MatchesSearchFromStartOnRandomInputsThatEnd) {
  std::mt19937 rng(12345);
  auto randomText = [&](const std::string& alphabet, size_t maxLen) {
    std::string s(rng() % (maxLen + 1), ' ');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
  };
  int compared = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::string alphabet = (i % 2) ? "ab" : "ab%";
    std::string p = randomText(alphabet, 4);
    if (p.empty()) p = "a";
    const std::string r = randomText(alphabet, 5);
    const std::string text = randomText(alphabet, 24);
    const std::optional<std::string> expected = SearchFromStart(text, p, r, 300);
    if (!expected) continue;
    ++compared;
    ASSERT_EQ(ReplaceAll(text, p, r), *expected) << "text=" << text << " p=" << p << " r=" << r;
    // The converter's ReplaceAll is the same engine under its own name.
    if (i % 16 == 0) {
      ASSERT_EQ(TParvel::ReplaceAll(text, p, r), *expected);
    }
  }
  EXPECT_GT(compared, 12000);
}

TEST(ReplaceAll, LongCascadesWithinTheBudgetKeepTheRulesResult) {
  // "ab" -> "ba" sorts the text: quadratic in the rule's steps, and still exact.
  const std::string text = std::string(30, 'a') + std::string(30, 'b');
  EXPECT_EQ(ReplaceAll(text, "ab", "ba"), std::string(30, 'b') + std::string(30, 'a'));
  // Each replacement forms the next occurrence to its left.
  const std::string many = std::string(5000, 'a') + "b";
  EXPECT_EQ(ReplaceAll(many, "ab", "bb"), std::string(5001, 'b'));
}

}  // namespace
}  // namespace pagolin
