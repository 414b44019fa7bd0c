#include "core/pages/textlines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace pagolin {
namespace {

TEST(TextLines, AppendLinesEndsEveryLineWithCrLfAndAddsNoLineForAFinalBreak) {
  EXPECT_EQ(ToCrLfLines(""), "");
  EXPECT_EQ(ToCrLfLines("a"), "a\r\n");
  EXPECT_EQ(ToCrLfLines("a\r\n"), "a\r\n");
  EXPECT_EQ(ToCrLfLines("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(ToCrLfLines("a\r\r\n"), "a\r\n\r\n");
  EXPECT_EQ(ToCrLfLines("\r\n\r\n"), "\r\n\r\n");
}

// Against the rule written out: split at CR LF, CR or LF, no line for a final break, each line
// followed by CR LF.
TEST(TextLines, AppendLinesMatchesTheLineRuleOnRandomTexts) {
  auto reference = [](const std::string& t) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < t.size(); ++i) {
      if (t[i] == '\r' || t[i] == '\n') {
        lines.push_back(line);
        line.clear();
        if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
      } else {
        line += t[i];
      }
    }
    if (!line.empty()) lines.push_back(line);
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
  };
  std::mt19937 rng(11);
  const std::string alphabet = "ab\r\n";
  for (int i = 0; i < 5000; ++i) {
    std::string s(rng() % 16, ' ');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    std::string out = "x";
    AppendLines(out, s);
    ASSERT_EQ(out, "x" + reference(s)) << s;
    // A text already in that form is recognised as such, and only then.
    ASSERT_EQ(IsCrLfLines(s), reference(s) == s) << s;
  }
  EXPECT_TRUE(IsCrLfLines(""));
  EXPECT_TRUE(IsCrLfLines("a\r\n\r\nb\r\n"));
  EXPECT_FALSE(IsCrLfLines("a\r\nb"));
}

TEST(TextLines, WrapLinesBreaksAtWordsWithinTheColumn) {
  std::string words;
  for (int i = 0; i < 40; ++i) words += (i ? " word" : "word") + std::to_string(i);
  const std::string wrapped = WrapLines(words + "\r\nshort\r\n");
  size_t start = 0;
  int lines = 0;
  std::string joined;
  while (start < wrapped.size()) {
    const size_t end = wrapped.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
    const std::string line = wrapped.substr(start, end - start);
    EXPECT_LE(line.size(), kWrapColumns);
    EXPECT_TRUE(line.empty() || (line.front() != ' ' && line.back() != ' ')) << line;
    joined += line + " ";
    start = end + 2;
    ++lines;
  }
  EXPECT_GT(lines, 4);
  EXPECT_EQ(joined, words + " short ");
  // Lines already short enough are kept, and the text's own breaks stay.
  EXPECT_EQ(WrapLines("Hello,\r\n\r\n-- \r\nMe"), "Hello,\r\n\r\n-- \r\nMe\r\n");
  EXPECT_EQ(WrapLines(""), "");
  // Wrapping again changes nothing.
  EXPECT_EQ(WrapLines(wrapped), wrapped);
}

TEST(TextLines, WrapLinesCutsAWordLongerThanALine) {
  const std::string word(kWrapColumns * 2 + 5, 'x');
  EXPECT_EQ(WrapLines("go " + word), "go\r\n" + std::string(kWrapColumns, 'x') + "\r\n" +
                                         std::string(kWrapColumns, 'x') + "\r\nxxxxx\r\n");
  EXPECT_EQ(WrapLines(std::string(kWrapColumns, 'y') + "   "), std::string(kWrapColumns, 'y') + "\r\n");
}

}  // namespace
}  // namespace pagolin
