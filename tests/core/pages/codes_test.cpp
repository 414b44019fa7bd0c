#include "core/pages/codes.h"
#include "core/pages/colorcode.h"
#include "core/pages/insertitems.h"

#include <gtest/gtest.h>

#include "core/pages/textlines.h"
#include "core/platform/replaceall.h"

#include <random>
#include "support/testsite.h"

namespace pagolin {
namespace {

using testing::TBuildSite;

TEST(GetCode, FindsTheExactNameWithCaseAndFillsInTheHomePage) {
  TBuildSite site;
  site.AddCode("head", "lower");
  site.AddCode("Body", "<A HREF=\"%HOME%\">%HOME%</A>", "Page");
  site.AddCode("Body", "later in index order", "Section");
  TTable& codes = site.Data().tblCodes;
  EXPECT_EQ(GetCode(codes, "Head", "/srv/www/start.html"), "");
  EXPECT_EQ(GetCode(codes, "head", "/srv/www/start.html"), "lower");
  // "Page" comes before "Section" in the TypeAndName order.
  EXPECT_EQ(GetCode(codes, "Body", "/srv/www/start.html"), "<A HREF=\"start.html\">start.html</A>");
  EXPECT_EQ(codes.FieldByName("Name").AsString(), "Body");  // the cursor stays on the code found
  EXPECT_EQ(GetCode(codes, "Bod", "x"), "");
}

TEST(ReplaceVariables, HtmlModeUsesTheCodeInNameOrder) {
  TBuildSite site;
  site.AddVariable("B", "[b %A% %C%]", "plain b");
  site.AddVariable("A", "[a]", "plain a");
  site.AddVariable("C", "[c]", "plain c");
  site.AddCode("A", "a section, not a variable");
  TTable& codes = site.Data().tblCodes;
  // A value holding a later variable (C) is expanded again, an earlier one (A) is not.
  EXPECT_EQ(ReplaceVariables(codes, "%A% %B% %C% %a%", false), "[a] [b %A% [c]] [c] %a%");
  // The range is gone afterwards.
  codes.First();
  int count = 0;
  for (; !codes.Eof(); codes.Next()) ++count;
  EXPECT_EQ(count, 4);
}

// A long page is taken in pieces; the result is that of whole passes, also where replacements
// form new placeholders with their neighbours and across many lines.
TEST(ReplaceVariables, LongPagesGiveTheResultOfWholePasses) {
  TBuildSite site;
  site.AddVariable("A", "%B", "");  // forms %B% with a following "%"
  site.AddVariable("B", "<b>\r\n</b>", "");
  site.AddVariable("C", "", "");      // deletion joins its neighbours
  site.AddVariable("D", "%D%!", "");  // holds its own placeholder
  std::mt19937 rng(3);
  const char* bits[] = {"%A%%", "%B%", "%C", "%", "C%", "%D%", "text ", "\r\n", "\n", "A", "B"};
  std::string page;
  while (page.size() < 300000) page += bits[rng() % 11];
  std::string expected = page;
  for (const auto& [p, v] : std::vector<std::pair<std::string, std::string>>{
           {"%A%", "%B"}, {"%B%", "<b>\r\n</b>"}, {"%C%", ""}, {"%D%", "%D%!"}})
    expected = ReplaceAll(expected, p, v);
  // Compared as a whole: a printed difference of such texts would take long.
  EXPECT_TRUE(ReplaceVariables(site.Data().tblCodes, page, false) == expected);
  EXPECT_TRUE(ReplaceVariablesAsLines(site.Data().tblCodes, page) == ToCrLfLines(expected));
}

TEST(ReplaceVariables, PlainModeUsesDescriptionOneAndWrapsAfterEveryVariable) {
  TBuildSite site;
  TTable& codes = site.Data().tblCodes;
  std::string text;
  for (int i = 0; i < 30; ++i) text += "word%N% ";
  EXPECT_EQ(ReplaceVariables(codes, text, true), text) << "no variables: not wrapped";
  site.AddVariable("N", "<B>html</B>", "1");
  std::string expected;
  for (int i = 0; i < 30; ++i) expected += "word1 ";
  const std::string wrapped = ReplaceVariables(codes, text, true);
  EXPECT_EQ(wrapped, WrapLines(expected));
  EXPECT_NE(wrapped.find("\r\n"), std::string::npos);
  EXPECT_EQ(wrapped.find("html"), std::string::npos);
}

TEST(HtmlColorCode, RedGreenBlueFromTheDialogsValue) {
  const std::pair<std::uint32_t, const char*> rows[] = {{0x000000, "#000000"},   {0xFFFFFF, "#FFFFFF"},
                                                        {0x0000FF, "#FF0000"},   {0x563412, "#123456"},
                                                        {0xFF563412, "#123456"}, {0x0A0B0C, "#0C0B0A"}};
  for (const auto& [value, code] : rows) EXPECT_EQ(HtmlColorCode(value), code) << std::hex << value;
}

TEST(InsertItems, RowPlaceholdersShowForTheirTemplatesOnly) {
  const auto shown = [](const std::string& code) {
    std::string names;
    for (const TPlaceholderItem& item : PlaceholderItems())
      if (PlaceholderShown(item, code)) names += std::string(item.Inserts) + " ";
    return names;
  };
  EXPECT_EQ(shown("Product"), "%NAME% %CATEGORY% %DESCRIPTION% %FILENAME% %FILEDATE% %FILESIZE% %IMAGE% ");
  EXPECT_EQ(shown("News"), "%DATE% %NEWSTITLE% %NEWSBODY% ");
  EXPECT_EQ(shown("Link"), "%IMAGE% %NAME% %URL% %DESCRIPTION% ");
  EXPECT_EQ(shown("Products"), "");
  for (const char* name : {"Product", "News", "Link"}) EXPECT_TRUE(PlaceholdersEnabled(name));
  for (const char* name : {"Products", "product", "", "Head"}) EXPECT_FALSE(PlaceholdersEnabled(name));
}

TEST(InsertItems, OneItemPerVariableInNameOrderAndTheFirstCodeCurrentAfter) {
  TBuildSite site;
  TTable& codes = site.Data().tblCodes;
  site.AddVariable("ZETA", "z", "last");
  site.AddVariable("ABC", "a", "");
  site.AddCode("AAA", "not a variable");
  codes.Last();
  const std::vector<TVariableItem> items = VariableItems(codes);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].Caption, "%ABC% ()");
  EXPECT_EQ(items[0].Hint, "%ABC%");
  EXPECT_EQ(items[1].Caption, "%ZETA% (last)");
  EXPECT_FALSE(codes.HasRange());
  EXPECT_EQ(codes.RecNo(), 1);
}

}  // namespace
}  // namespace pagolin
