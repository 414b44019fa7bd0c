// Date-time values: days since 30 December 1899, the time of day as the fraction.
// FormatDateTime understands the usual pattern letters (d dd ddd dddd ddddd dddddd, m mm mmm
// mmmm, yy yyyy, h hh, n nn, s ss, z zzz, t tt, c, am/pm a/p ampm, / and :, quoted literals);
// an "m" right after an "h" means minutes. Letters are matched without case.
#pragma once

#include <array>
#include <string>

namespace pagolin {

using TDateTime = double;

struct TFormatSettings {
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "m/d/yyyy";
  std::string LongDateFormat = "dddd, mmmm d, yyyy";
  std::string ShortTimeFormat = "h:nn ampm";
  std::string LongTimeFormat = "h:nn:ss ampm";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
  // Index 0 is Sunday.
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
};

// The settings in force for the program (filled by the program from the user's locale);
// the defaults above until then.
TFormatSettings& FormatSettings();

struct TDateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, msec = 0;
};

// False when a part is out of range.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);  // 0 when out of range
TDateTime EncodeTime(int hour, int minute, int second, int msec);
TDateTime EncodeDateTime(const TDateParts& parts);
TDateParts DecodeDateTime(TDateTime value);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);

// The current local date and time, to the millisecond.
TDateTime Now();
// The local date-time of a POSIX time (seconds since the epoch).
TDateTime UnixToLocalDateTime(long long unixSeconds);
// The POSIX time of a local date-time, to the second (milliseconds are dropped). A time the
// clock skips when summer time starts, or passes twice when it ends, is taken as the system's
// time-zone rules read it.
long long LocalDateTimeToUnix(TDateTime value);

std::string FormatDateTime(const std::string& pattern, TDateTime value,
                           const TFormatSettings& settings = FormatSettings());

// Reads a date, optionally followed by a time, in the order of the settings' short date
// format (day, month and year numbers separated by any non-digit), the time as h:n[:s]
// with an optional AM/PM. False for anything else, an empty text included.
bool TryStrToDateTime(const std::string& text, TDateTime& result,
                      const TFormatSettings& settings = FormatSettings());

// The stored form of the site tables: "YYYY-MM-DD HH:MM:SS", local time.
std::string DateTimeToStorageText(TDateTime value);
bool StorageTextToDateTime(const std::string& text, TDateTime& result);

}  // namespace pagolin
