#include "core/platform/datetime.h"

#include <gtest/gtest.h>

namespace pagolin {
namespace {

TFormatSettings German() {
  TFormatSettings fs;
  fs.DateSeparator = '.';
  fs.ShortDateFormat = "dd/mm/yyyy";
  fs.LongDateFormat = "dddd, d. mmmm yyyy";
  fs.ShortTimeFormat = "hh:nn";
  fs.LongTimeFormat = "hh:nn:ss";
  fs.LongMonthNames[7] = "August";
  fs.LongDayNames[3] = "Mittwoch";
  return fs;
}

TEST(DateTime, EncodesAndDecodesTheDayCount) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
  EXPECT_EQ(EncodeDate(1997, 8, 27), 35669.0);
  EXPECT_EQ(EncodeDate(2000, 2, 29), 36585.0);
  EXPECT_EQ(EncodeDate(2001, 2, 29), 0.0) << "no such day";
  const TDateParts t = DecodeDateTime(EncodeDate(2026, 12, 7) + EncodeTime(23, 59, 59, 999));
  EXPECT_EQ(t.year, 2026);
  EXPECT_EQ(t.month, 12);
  EXPECT_EQ(t.day, 7);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.minute, 59);
  EXPECT_EQ(t.second, 59);
  EXPECT_EQ(t.msec, 999);
  EXPECT_EQ(DayOfWeek(EncodeDate(1997, 8, 27)), 4) << "a Wednesday";
  EXPECT_EQ(DayOfWeek(0), 7) << "a Saturday";
}

TEST(DateTime, PatternsOfTheSettingsAndTheBuilder) {
  const TFormatSettings de = German();
  const TDateTime d = EncodeDate(1997, 8, 27) + EncodeTime(9, 5, 7, 0);
  EXPECT_EQ(FormatDateTime("m-d-yyyy", d, de), "8-27-1997");
  EXPECT_EQ(FormatDateTime("m-d-yyyy hh:mm", d, de), "8-27-1997 09:05");
  EXPECT_EQ(FormatDateTime("dddddd", d, de), "Mittwoch, 27. August 1997");
  EXPECT_EQ(FormatDateTime("ddddd t", d, de), "27.08.1997 09:05");
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn", d, de), "27.08.1997 09:05");
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:ss", d, de), "27.08.1997 09:07");
  EXPECT_EQ(FormatDateTime("c", d, de), "27.08.1997 09:05:07");
  EXPECT_EQ(FormatDateTime("c", EncodeDate(1997, 8, 27), de), "27.08.1997") << "midnight omits the time";
}

TEST(DateTime, EnglishDefaultsNamesTwelveHoursAndLiterals) {
  const TFormatSettings en;
  const TDateTime d = EncodeDate(2003, 1, 4) + EncodeTime(13, 7, 0, 0);
  EXPECT_EQ(FormatDateTime("ddddd t", d, en), "1/4/2003 1:07 PM");
  EXPECT_EQ(FormatDateTime("dddddd", d, en), "Saturday, January 4, 2003");
  EXPECT_EQ(FormatDateTime("ddd, d mmm yy", d, en), "Sat, 4 Jan 03");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", d, en), "1:07 pm");
  EXPECT_EQ(FormatDateTime("h a/p", EncodeTime(0, 30, 0, 0), en), "12 a");
  EXPECT_EQ(FormatDateTime("'m is' m \"and d\" d", d, en), "m is 1 and d 4");
  EXPECT_EQ(FormatDateTime("HH:MM", d, en), "13:07") << "M after H means minutes";
}

TEST(DateTime, ParsesTextInTheShortDateOrder) {
  const TFormatSettings de = German();
  TDateTime v = 0;
  ASSERT_TRUE(TryStrToDateTime("27.08.1997 09:05", v, de));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", v, de), "1997-08-27 09:05:00");
  ASSERT_TRUE(TryStrToDateTime("1/4/2003 1:07:30 PM", v, TFormatSettings{}));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", v, de), "2003-01-04 13:07:30");
  EXPECT_FALSE(TryStrToDateTime("", v, de));
  EXPECT_FALSE(TryStrToDateTime("31.02.2001", v, de));
  EXPECT_FALSE(TryStrToDateTime("27.08.1997 25:00", v, de));
  EXPECT_FALSE(TryStrToDateTime("yesterday", v, de));
}

TEST(DateTime, StorageTextRoundTrips) {
  const TDateTime d = EncodeDate(2026, 3, 1) + EncodeTime(7, 8, 9, 0);
  EXPECT_EQ(DateTimeToStorageText(d), "2026-03-01 07:08:09");
  TDateTime back = 0;
  ASSERT_TRUE(StorageTextToDateTime("2026-03-01 07:08:09", back));
  EXPECT_DOUBLE_EQ(back, d);
  ASSERT_TRUE(StorageTextToDateTime("2026-03-01", back));
  EXPECT_DOUBLE_EQ(back, EncodeDate(2026, 3, 1));
  EXPECT_FALSE(StorageTextToDateTime("2026-13-01 00:00:00", back));
  EXPECT_FALSE(StorageTextToDateTime("garbage", back));
}

TEST(DateTime, NowIsTodayInLocalTime) {
  const TDateTime a = Now();
  EXPECT_GT(a, EncodeDate(2020, 1, 1));
  EXPECT_LT(a, EncodeDate(2200, 1, 1));
}

}  // namespace
}  // namespace pagolin
