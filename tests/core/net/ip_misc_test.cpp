#include "core/net/ip_misc.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace pagolin {
namespace {

// Runs the test body in the time zone tz and puts the old one back.
class ZoneScope {
 public:
  explicit ZoneScope(const char* tz) {
    if (const char* old = std::getenv("TZ")) old_ = old, hadOld_ = true;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ZoneScope() {
    if (hadOld_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::string old_;
  bool hadOld_ = false;
};

TEST(ZeroPad, PadsToWidthAndNeverCuts) {
  EXPECT_EQ(ZeroPad(7, 2), "07");
  EXPECT_EQ(ZeroPad(123, 2), "123");
  EXPECT_EQ(ZeroPad(0, 2), "00");
  EXPECT_EQ(ZeroPad(5, 0), "5");
}

TEST(ZoneText, SignIsOppositeToTheOffset) {
  EXPECT_EQ(ZoneText(0), "GMT");
  EXPECT_EQ(ZoneText(-60), "+0100");
  EXPECT_EQ(ZoneText(300), "-0500");
  EXPECT_EQ(ZoneText(-330), "+0530");
  EXPECT_EQ(ZoneText(-765), "+1245");
}

TEST(ZoneOffset, FollowsTheZoneInForceIncludingSummerTime) {
  {
    ZoneScope zone("UTC");
    EXPECT_EQ(ZoneOffset(), 0);
    EXPECT_EQ(ZoneText(), "GMT");
  }
  {
    ZoneScope zone("EST5");  // no daylight saving rules: the plain bias
    EXPECT_EQ(ZoneOffset(), 300);
    EXPECT_EQ(ZoneText(), "-0500");
  }
  {
    ZoneScope zone("IST-5:30");
    EXPECT_EQ(ZoneOffset(), -330);
    EXPECT_EQ(ZoneText(), "+0530");
  }
  {
    // Summer time all year round: one hour more east than the standard offset.
    ZoneScope zone("XST-1XDT,J1/0,J365/25");
    EXPECT_EQ(ZoneOffset(), -120);
  }
}

TEST(DateText, HeaderFormWithDayMonthAndZone) {
  EXPECT_EQ(DateText(EncodeDateTime({2027, 1, 1, 0, 0, 0, 0}), 0), "Fri, 1 Jan 2027 00:00:00 GMT");
  EXPECT_EQ(DateText(EncodeDateTime({2026, 12, 6, 7, 0, 36, 0}), -60), "Sun, 6 Dec 2026 07:00:36 +0100");
  // Fractions of a second are dropped, not rounded up.
  EXPECT_EQ(DateText(EncodeDateTime({2026, 3, 28, 23, 59, 59, 900}), 300), "Sat, 28 Mar 2026 23:59:59 -0500");
}

TEST(DateText, UsesTheZoneOfTheMomentOfTheCall) {
  ZoneScope zone("IST-5:30");
  EXPECT_EQ(DateText(EncodeDateTime({2026, 7, 15, 12, 30, 5, 0})), "Wed, 15 Jul 2026 12:30:05 +0530");
}

TEST(LocalClockSeconds, IsTheLocalClockAsItReads) {
  ZoneScope zone("IST-5:30");
  const long long utc = static_cast<long long>(std::time(nullptr));
  const long long local = LocalClockSeconds();
  EXPECT_GE(local - utc, 5 * 3600 + 30 * 60);
  EXPECT_LE(local - utc, 5 * 3600 + 30 * 60 + 2);
}

TEST(ResolveHost, DottedQuadEmptyAndLocalName) {
  EXPECT_EQ(AddressText(ResolveHost("127.0.0.1")), "127.0.0.1");
  EXPECT_EQ(ResolveHost(""), kNoAddress);
  EXPECT_EQ(AddressText(ResolveHost("10.0.0.2")), "10.0.0.2");  // converted, never contacted
  EXPECT_EQ(AddressText(ResolveHost("localhost")), "127.0.0.1");
}

TEST(AddressText, MostSignificantByteFirst) {
  EXPECT_EQ(AddressText(htonl(0x7F000001u)), "127.0.0.1");
  EXPECT_EQ(AddressText(htonl(0xC0A80AFFu)), "192.168.10.255");
}

TEST(LocalHostName, GivesANameWithoutBlanks) {
  const std::string name = LocalHostName();
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(name.find(' '), std::string::npos);
}

}  // namespace
}  // namespace pagolin
