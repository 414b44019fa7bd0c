#include "core/platform/codepagetables.h"

#include <gtest/gtest.h>

#include "support/iconvtext.h"

namespace pagolin {
namespace {

// Bytes Windows-1252 leaves undefined; the program keeps them as the C1 controls of the same
// value, where iconv refuses them.
bool UndefinedIn1252(int b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

TEST(CodePageTables, EveryByteOfEachCodePageConvertsAsTheCLibraryDoes) {
  for (int codePage : {437, 850, 1252}) {
    ASSERT_TRUE(IsSupportedCodePage(codePage));
    std::string all;
    for (int b = 1; b < 256; ++b) {
      const std::string one(1, static_cast<char>(b));
      if (codePage == 1252 && UndefinedIn1252(b)) {
        EXPECT_EQ(CodePageToUtf8(codePage, one), "\xC2" + std::string(1, static_cast<char>(b)));
        continue;
      }
      EXPECT_EQ(CodePageToUtf8(codePage, one), testing::IconvToUtf8(one, codePage))
          << codePage << " byte " << b;
      all += one;
    }
    EXPECT_EQ(CodePageToUtf8(codePage, all), testing::IconvToUtf8(all, codePage)) << codePage;
  }
  EXPECT_FALSE(IsSupportedCodePage(1250));
  EXPECT_FALSE(IsSupportedCodePage(0));
}

}  // namespace
}  // namespace pagolin
