#include "core/platform/htmlentities.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/platform/replaceall.h"
#include "core/rtf2html/parvel.h"

namespace pagolin {
namespace {

TEST(EntityName, CoversLatin1WithDieAt168) {
  EXPECT_EQ(EntityName(159), nullptr);
  EXPECT_EQ(EntityName(0), nullptr);
  std::set<std::string> names;
  for (int v = 160; v <= 255; ++v) {
    const std::string name = EntityName(v);
    EXPECT_TRUE(name.size() > 2 && name.front() == '&' && name.back() == ';') << v;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 96u);
  EXPECT_STREQ(EntityName(160), "&nbsp;");
  EXPECT_STREQ(EntityName(168), "&die;");
  EXPECT_STREQ(EntityName(169), "&copy;");
  EXPECT_STREQ(EntityName(173), "&shy;");
  EXPECT_STREQ(EntityName(183), "&middot;");
  EXPECT_STREQ(EntityName(191), "&iquest;");
  EXPECT_STREQ(EntityName(192), "&Agrave;");
  EXPECT_STREQ(EntityName(208), "&ETH;");
  EXPECT_STREQ(EntityName(215), "&times;");
  EXPECT_STREQ(EntityName(222), "&THORN;");
  EXPECT_STREQ(EntityName(223), "&szlig;");
  EXPECT_STREQ(EntityName(233), "&eacute;");
  EXPECT_STREQ(EntityName(247), "&divide;");
  EXPECT_STREQ(EntityName(255), "&yuml;");
}

TEST(EscapeHtml, EscapesSignsUmlautsAndLineBreaksButNotAmpersands) {
  EXPECT_EQ(EscapeHtml("a < b & c\r\nd", true), "a &lt; b & c<BR>d");
  EXPECT_EQ(EscapeHtml("Müller ©", true), "M&uuml;ller &copy;");
  EXPECT_EQ(EscapeHtml("ÄäÖöÜüß", true), "&Auml;&auml;&Ouml;&ouml;&Uuml;&uuml;&szlig;");
  EXPECT_EQ(EscapeHtml("\"q\" > 'x'", true), "\"q\" &gt; 'x'");
  EXPECT_EQ(EscapeHtml("lone\rcr lone\nlf \r\r\n\n", true), "lone\rcr lone\nlf \r<BR>\n");
  EXPECT_EQ(EscapeHtml("é€Ł", true), "é€Ł");  // other letters are the page's to encode
}

// One pass gives what the replacements in their order give, for every byte: the eleven of plain
// field text, the ten of the converter's title (no line breaks).
TEST(EscapeHtml, SameAsTheReplacementsInOrder) {
  auto steps = [](std::string t, bool breaks) {
    const char* table[][2] = {{"<", "&lt;"},   {">", "&gt;"},    {"©", "&copy;"}, {"Ä", "&Auml;"},
                              {"ä", "&auml;"}, {"Ö", "&Ouml;"},  {"ö", "&ouml;"}, {"Ü", "&Uuml;"},
                              {"ü", "&uuml;"}, {"ß", "&szlig;"}, {"\r\n", "<BR>"}};
    for (auto& s : table)
      if (breaks || std::string(s[0]) != "\r\n") t = ReplaceAll(t, s[0], s[1]);
    return t;
  };
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(EscapeHtml(all, true), steps(all, true));
  EXPECT_EQ(TParvel::EncodeTitle(all), steps(all, false));
  std::mt19937 rng(7);
  const std::vector<std::string> alphabet = {"<", ">", "\r", "\n", "©", "ü", "ß", "&", "a", "Ł", "😀"};
  for (int i = 0; i < 2000; ++i) {
    std::string s;
    for (int n = static_cast<int>(rng() % 20); n > 0; --n) s += alphabet[rng() % alphabet.size()];
    ASSERT_EQ(EscapeHtml(s, true), steps(s, true));
    ASSERT_EQ(TParvel::EncodeTitle(s), steps(s, false));
  }
}

}  // namespace
}  // namespace pagolin
