#include "core/platform/shortpath.h"

#include <gtest/gtest.h>

namespace pagolin {
namespace {

TEST(ShortenPath, DropsMiddlePartsFromTheFrontUntilItFits) {
  const std::string p = "C:\\a\\bbbbbbbbbb\\cccccccccc\\dddddddddd\\e.txt";
  ASSERT_EQ(p.size(), 43u);
  const std::string s = ShortenPath(p, 35, '\\');
  EXPECT_EQ(s, "C:\\...\\cccccccccc\\dddddddddd\\e.txt");
  EXPECT_EQ(s.size(), 34u);
}

TEST(ShortenPath, PathThatFitsStaysWhole) {
  const std::string p = "/home/user/projects/site/output/abc";
  ASSERT_EQ(p.size(), 35u);
  EXPECT_EQ(ShortenPath(p, 35, '/'), p);
  EXPECT_EQ(ShortenPath("", 35, '/'), "");
  // Characters are counted, not bytes: 35 letters, 20 of them two bytes long.
  const std::string polish = "/home/żżżżżżżżżż/łłłłłłłłłł/site/ab";
  EXPECT_EQ(ShortenPath(polish, 35, '/'), polish);
}

TEST(ShortenPath, TwoPartsOrFewerStayEvenWhenTooLong) {
  const std::string longName(50, 'x');
  EXPECT_EQ(ShortenPath(longName, 35, '/'), longName);
  EXPECT_EQ(ShortenPath("dir/" + longName, 35, '/'), "dir/" + longName);
}

TEST(ShortenPath, StopsAtThreePartsEvenWhenStillTooLong) {
  const std::string last(40, 'z');
  EXPECT_EQ(ShortenPath("/aa/bb/cc/" + last, 35, '/'), "/.../" + last);
  EXPECT_EQ(ShortenPath("root/aa/bb/cc/" + last, 35, '/'), "root/.../" + last);
}

TEST(ShortenPath, OnlyAsMuchIsDroppedAsNeeded) {
  // The first join with the filler already fits: nothing more is dropped.
  EXPECT_EQ(ShortenPath("/averyveryverylongfoldername/b/c/d.txt", 20, '/'), "/.../b/c/d.txt");
}

TEST(ShortenPath, UsesThePlatformDelimiterByDefault) {
  const std::string sep(1, PathDelim);
  const std::string p = "r" + sep + "aaaaaaaaaa" + sep + "bbbbbbbbbb" + sep + "cccccccccc" + sep + "dd";
  EXPECT_EQ(ShortenPath(p, 29), "r" + sep + "..." + sep + "cccccccccc" + sep + "dd");
}

}  // namespace
}  // namespace pagolin
