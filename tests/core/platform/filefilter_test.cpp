#include "core/platform/filefilter.h"

#include <gtest/gtest.h>

namespace pagolin {
namespace {

TEST(ParseFileFilter, PairsOfDescriptionAndPatterns) {
  const auto f = ParseFileFilter("HTML files (*.htm, *.html)|*.htm;*.html|All files|*.*");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].description, "HTML files (*.htm, *.html)");
  EXPECT_EQ(f[0].patterns, (std::vector<std::string>{"*.htm", "*.html"}));
  EXPECT_EQ(f[1].description, "All files");
  EXPECT_EQ(f[1].patterns, (std::vector<std::string>{"*.*"}));
}

TEST(ParseFileFilter, MissingOrEmptyPatternsShowEveryFile) {
  EXPECT_TRUE(ParseFileFilter("").empty());
  const auto f = ParseFileFilter("ZIP|*.zip; ;|Odd");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].patterns, (std::vector<std::string>{"*.zip"}));
  EXPECT_EQ(f[1].description, "Odd");
  EXPECT_EQ(f[1].patterns, (std::vector<std::string>{"*"}));
}

}  // namespace
}  // namespace pagolin
