#include "core/rtf2html/parvel_text.h"

#include "core/rtf2html/parvel.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace pagolin {
namespace {

TEST(ParvelText, HexToByteReadsTwoLowercaseHexDigits) {
  EXPECT_EQ(TParvel::HexToByte("e9"), 233);
  EXPECT_EQ(TParvel::HexToByte("00"), 0);
  EXPECT_EQ(TParvel::HexToByte("ff"), 255);
  EXPECT_EQ(TParvel::HexToByte("a0"), 160);
  for (const char* bad : {"E9", "eF", "g0", "0x", "e", "e90", "", " 9", "-1"})
    EXPECT_EQ(TParvel::HexToByte(bad), -1) << bad;
}

TEST(ParvelText, EntityTableCoversLatin1WithDieAt168) {
  EXPECT_EQ(parvel::EntityName(159), nullptr);
  EXPECT_EQ(parvel::EntityName(0), nullptr);
  std::set<std::string> names;
  for (int v = 160; v <= 255; ++v) {
    const std::string name = parvel::EntityName(v);
    EXPECT_TRUE(name.size() > 2 && name.front() == '&' && name.back() == ';') << v;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 96u);
  EXPECT_STREQ(parvel::EntityName(160), "&nbsp;");
  EXPECT_STREQ(parvel::EntityName(168), "&die;");
  EXPECT_STREQ(parvel::EntityName(169), "&copy;");
  EXPECT_STREQ(parvel::EntityName(173), "&shy;");
  EXPECT_STREQ(parvel::EntityName(183), "&middot;");
  EXPECT_STREQ(parvel::EntityName(191), "&iquest;");
  EXPECT_STREQ(parvel::EntityName(192), "&Agrave;");
  EXPECT_STREQ(parvel::EntityName(208), "&ETH;");
  EXPECT_STREQ(parvel::EntityName(215), "&times;");
  EXPECT_STREQ(parvel::EntityName(222), "&THORN;");
  EXPECT_STREQ(parvel::EntityName(223), "&szlig;");
  EXPECT_STREQ(parvel::EntityName(233), "&eacute;");
  EXPECT_STREQ(parvel::EntityName(247), "&divide;");
  EXPECT_STREQ(parvel::EntityName(255), "&yuml;");
}

TEST(ParvelText, ParseIntAcceptsOnly32BitDecimalIntegers) {
  EXPECT_EQ(parvel::ParseInt("0"), 0);
  EXPECT_EQ(parvel::ParseInt("20"), 20);
  EXPECT_EQ(parvel::ParseInt("-200"), -200);
  EXPECT_EQ(parvel::ParseInt("2147483647"), 2147483647);
  EXPECT_EQ(parvel::ParseInt("-2147483648"), INT32_MIN);
  for (const char* bad : {"", "-", "2147483648", "-2147483649", "1-", "1x", "--1", "99999999999"})
    EXPECT_EQ(parvel::ParseInt(bad), std::nullopt) << bad;
}

TEST(ParvelText, ColourComponentIsUppercaseHexOfAtLeastTwoDigits) {
  EXPECT_EQ(parvel::ColorComponent(0), "00");
  EXPECT_EQ(parvel::ColorComponent(5), "05");
  EXPECT_EQ(parvel::ColorComponent(128), "80");
  EXPECT_EQ(parvel::ColorComponent(255), "FF");
  EXPECT_EQ(parvel::ColorComponent(256), "100");
  EXPECT_EQ(parvel::ColorComponent(-1), "FFFFFFFF");
}

TEST(ParvelText, EncodeTitleReplacesAngleBracketsAndGermanLetters) {
  EXPECT_EQ(TParvel::EncodeTitle("M\xFCller & S\xF6hne <GmbH>"),
            "M&uuml;ller & S&ouml;hne &lt;GmbH&gt;");
  EXPECT_EQ(TParvel::EncodeTitle("\xA9\xC4\xE4\xD6\xF6\xDC\xFC\xDF\"\xE9"),
            "&copy;&Auml;&auml;&Ouml;&ouml;&Uuml;&uuml;&szlig;\"\xE9");
  EXPECT_EQ(TParvel::EncodeTitle(""), "");
}

// Replaces the first occurrence and searches from the start again, the literal way; false when
// that takes more than text.size() + 1 replacements (it may never end).
bool NaiveReplaceAll(std::string& text, const std::string& search, const std::string& by) {
  std::size_t budget = text.size() + 1;
  for (std::size_t at; (at = text.find(search)) != std::string::npos;) {
    if (budget-- == 0) return false;
    text.replace(at, search.size(), by);
  }
  return true;
}

TEST(ParvelText, ReplaceAllEqualsSearchingFromTheStartAfterEveryReplacement) {
  std::mt19937 random(7);
  auto word = [&](std::size_t maxLength) {
    std::string w(random() % (maxLength + 1), 'a');
    for (char& c : w) c = static_cast<char>('a' + random() % 3);
    return w;
  };
  int checked = 0;
  while (checked < 5000) {
    const std::string search = word(3);
    const std::string by = word(4);
    if (search.empty() || by.find(search) != std::string::npos) continue;
    const std::string text = word(30);
    std::string naive = text;
    if (!NaiveReplaceAll(naive, search, by)) continue;
    ASSERT_EQ(TParvel::ReplaceAll(text, search, by), naive)
        << text << " / " << search << " -> " << by;
    ++checked;
  }
  // A match that only appears after a replacement, reaching back into the text before it.
  EXPECT_EQ(TParvel::ReplaceAll("aab", "ab", "b"), "b");
  EXPECT_EQ(TParvel::ReplaceAll("aabc", "ab", "bc"), "bccc");
}

TEST(ParvelText, ReplaceAllNeverLoopsForever) {
  EXPECT_EQ(TParvel::ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(TParvel::ReplaceAll("a-a", "a", "aa"), "aa-aa");
  // New matches form across the edges of every replacement: aab, abbaa, bbaabaa, ...
  EXPECT_EQ(TParvel::ReplaceAll("aab", "ab", "bbaa"), "abbaa");
  EXPECT_EQ(TParvel::ReplaceAll("<<", "<", "&lt;"), "&lt;&lt;");
}

}  // namespace
}  // namespace pagolin
