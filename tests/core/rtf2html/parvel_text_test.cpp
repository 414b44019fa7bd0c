#include "core/rtf2html/parvel_text.h"

#include "core/rtf2html/parvel.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pagolin
