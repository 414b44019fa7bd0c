#include "core/platform/datetime.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace pagolin {
namespace {

constexpr double kMSecsPerDay = 86400000.0;

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

constexpr long long kEpochOffset = 25569;  // 1970-01-01 as a TDateTime

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
  return days[month - 1];
}

std::string Pad(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

bool StartsWithNoCase(const std::string& s, size_t pos, const char* word) {
  for (size_t i = 0; word[i]; ++i) {
    if (pos + i >= s.size()) return false;
    if (std::tolower(static_cast<unsigned char>(s[pos + i])) != word[i]) return false;
  }
  return true;
}

// True when the pattern holds an am/pm marker outside quotes: hours then count to 12.
bool UsesTwelveHours(const std::string& p) {
  char quote = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const char c = p[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      continue;
    }
    if (StartsWithNoCase(p, i, "am/pm") || StartsWithNoCase(p, i, "a/p") || StartsWithNoCase(p, i, "ampm"))
      return true;
  }
  return false;
}

void Format(std::string& out, const std::string& p, const TDateParts& t, TDateTime value,
            const TFormatSettings& fs, int depth) {
  if (depth > 2) return;  // nested formats referring to each other
  const bool twelve = UsesTwelveHours(p);
  char lastToken = ' ';
  size_t i = 0;
  while (i < p.size()) {
    const char starter = p[i];
    char token = static_cast<char>(std::toupper(static_cast<unsigned char>(starter)));
    if (token >= 'A' && token <= 'Z') {
      if (token == 'M' && lastToken == 'H') token = 'N';
      lastToken = token;
    }
    auto count = [&]() {
      size_t n = 1;
      while (i + n < p.size() && std::toupper(static_cast<unsigned char>(p[i + n])) ==
                                     std::toupper(static_cast<unsigned char>(starter)))
        ++n;
      return n;
    };
    switch (token) {
      case 'Y': {
        const size_t n = count();
        out += n <= 2 ? Pad(t.year % 100, 2) : Pad(t.year, 4);
        i += n;
        break;
      }
      case 'M': {
        const size_t n = count();
        if (n <= 2)
          out += n == 1 ? std::to_string(t.month) : Pad(t.month, 2);
        else if (n == 3)
          out += fs.ShortMonthNames[t.month - 1];
        else
          out += fs.LongMonthNames[t.month - 1];
        i += n;
        break;
      }
      case 'D': {
        const size_t n = count();
        const int dow = DayOfWeek(value) - 1;
        if (n == 1)
          out += std::to_string(t.day);
        else if (n == 2)
          out += Pad(t.day, 2);
        else if (n == 3)
          out += fs.ShortDayNames[dow];
        else if (n == 4)
          out += fs.LongDayNames[dow];
        else if (n == 5)
          Format(out, fs.ShortDateFormat, t, value, fs, depth + 1);
        else
          Format(out, fs.LongDateFormat, t, value, fs, depth + 1);
        i += n;
        break;
      }
      case 'H': {
        const size_t n = count();
        int h = t.hour;
        if (twelve) {
          h %= 12;
          if (h == 0) h = 12;
        }
        out += n == 1 ? std::to_string(h) : Pad(h, 2);
        i += n;
        break;
      }
      case 'N': {
        const size_t n = count();
        out += n == 1 ? std::to_string(t.minute) : Pad(t.minute, 2);
        i += n;
        break;
      }
      case 'S': {
        const size_t n = count();
        out += n == 1 ? std::to_string(t.second) : Pad(t.second, 2);
        i += n;
        break;
      }
      case 'Z': {
        const size_t n = count();
        out += n == 1 ? std::to_string(t.msec) : Pad(t.msec, 3);
        i += n;
        break;
      }
      case 'T': {
        const size_t n = count();
        Format(out, n == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, t, value, fs, depth + 1);
        i += n;
        break;
      }
      case 'C': {
        Format(out, fs.ShortDateFormat, t, value, fs, depth + 1);
        if (t.hour || t.minute || t.second || t.msec) {
          out += ' ';
          Format(out, fs.LongTimeFormat, t, value, fs, depth + 1);
        }
        i += count();
        break;
      }
      case 'A': {
        const bool pm = t.hour >= 12;
        if (StartsWithNoCase(p, i, "am/pm")) {
          const bool upper = std::isupper(static_cast<unsigned char>(p[i])) != 0;
          out += pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
          i += 5;
        } else if (StartsWithNoCase(p, i, "a/p")) {
          const bool upper = std::isupper(static_cast<unsigned char>(p[i])) != 0;
          out += pm ? (upper ? 'P' : 'p') : (upper ? 'A' : 'a');
          i += 3;
        } else if (StartsWithNoCase(p, i, "ampm")) {
          out += pm ? fs.TimePMString : fs.TimeAMString;
          i += 4;
        } else {
          out += starter;
          ++i;
        }
        break;
      }
      case '/':
        out += fs.DateSeparator;
        ++i;
        break;
      case ':':
        out += fs.TimeSeparator;
        ++i;
        break;
      case '\'':
      case '"': {
        size_t j = i + 1;
        while (j < p.size() && p[j] != starter) out += p[j++];
        i = j < p.size() ? j + 1 : j;
        break;
      }
      default:
        out += starter;
        ++i;
        break;
    }
  }
}

}  // namespace

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return false;
  result = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               kEpochOffset);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
      msec > 999)
    return false;
  result = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / kMSecsPerDay;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime r = 0;
  return TryEncodeDate(year, month, day, r) ? r : 0;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  TDateTime r = 0;
  return TryEncodeTime(hour, minute, second, msec, r) ? r : 0;
}

TDateTime EncodeDateTime(const TDateParts& t) {
  return EncodeDate(t.year, t.month, t.day) + EncodeTime(t.hour, t.minute, t.second, t.msec);
}

TDateParts DecodeDateTime(TDateTime value) {
  TDateParts t;
  long long days = static_cast<long long>(std::floor(value));
  long long ms = std::llround((value - std::floor(value)) * kMSecsPerDay);
  if (ms >= static_cast<long long>(kMSecsPerDay)) {
    ms -= static_cast<long long>(kMSecsPerDay);
    ++days;
  }
  CivilFromDays(days - kEpochOffset, t.year, t.month, t.day);
  t.hour = static_cast<int>(ms / 3600000);
  t.minute = static_cast<int>(ms / 60000 % 60);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.msec = static_cast<int>(ms % 1000);
  return t;
}

int DayOfWeek(TDateTime value) {
  // Day 0 (30 December 1899) was a Saturday.
  const long long days = static_cast<long long>(std::floor(value));
  return static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
}

TDateTime UnixToLocalDateTime(long long unixSeconds) {
  const std::time_t tt = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  localtime_r(&tt, &tm);
  return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
         EncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec, 0);
}

long long LocalDateTimeToUnix(TDateTime value) {
  const TDateParts p = DecodeDateTime(value);
  std::tm tm{};
  tm.tm_year = p.year - 1900;
  tm.tm_mon = p.month - 1;
  tm.tm_mday = p.day;
  tm.tm_hour = p.hour;
  tm.tm_min = p.minute;
  tm.tm_sec = p.second;
  tm.tm_isdst = -1;  // the zone's rules decide
  return static_cast<long long>(std::mktime(&tm));
}

TDateTime Now() {
  const auto now = std::chrono::system_clock::now();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  return UnixToLocalDateTime(ms / 1000) + static_cast<double>(ms % 1000) / kMSecsPerDay;
}

std::string FormatDateTime(const std::string& pattern, TDateTime value, const TFormatSettings& settings) {
  std::string out;
  const TDateParts t = DecodeDateTime(value);
  Format(out, pattern.empty() ? std::string("c") : pattern, t, value, settings, 0);
  return out;
}

bool TryStrToDateTime(const std::string& text, TDateTime& result, const TFormatSettings& fs) {
  // Order of day, month and year in the short date format.
  std::string order;
  for (char c : fs.ShortDateFormat) {
    const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if ((u == 'D' || u == 'M' || u == 'Y') && order.find(u) == std::string::npos) order += u;
  }
  if (order.size() != 3) order = "MDY";

  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && text[i] == ' ') ++i;
  };
  auto number = [&](int& v, int maxDigits) {
    size_t n = 0;
    v = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) &&
           n < static_cast<size_t>(maxDigits)) {
      v = v * 10 + (text[i] - '0');
      ++i;
      ++n;
    }
    return n > 0;
  };
  skipBlanks();
  int parts[3] = {0, 0, 0};
  for (int k = 0; k < 3; ++k) {
    if (!number(parts[k], 4)) return false;
    if (k < 2) {
      if (i >= text.size() || std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == ' ')
        return false;
      ++i;
    }
  }
  int d = 0, m = 0, y = 0;
  for (int k = 0; k < 3; ++k) {
    if (order[k] == 'D') d = parts[k];
    if (order[k] == 'M') m = parts[k];
    if (order[k] == 'Y') y = parts[k];
  }
  if (y < 100) y += y < 50 ? 2000 : 1900;
  TDateTime date = 0;
  if (!TryEncodeDate(y, m, d, date)) return false;
  skipBlanks();
  int h = 0, n = 0, s = 0;
  if (i < text.size()) {
    if (!number(h, 2)) return false;
    if (i >= text.size() || text[i] != fs.TimeSeparator) return false;
    ++i;
    if (!number(n, 2)) return false;
    if (i < text.size() && text[i] == fs.TimeSeparator) {
      ++i;
      if (!number(s, 2)) return false;
    }
    skipBlanks();
    if (i < text.size()) {
      const std::string rest = text.substr(i);
      auto same = [&](const std::string& w) {
        if (w.size() != rest.size()) return false;
        for (size_t k = 0; k < w.size(); ++k)
          if (std::toupper(static_cast<unsigned char>(w[k])) !=
              std::toupper(static_cast<unsigned char>(rest[k])))
            return false;
        return true;
      };
      if (same(fs.TimePMString) || same("PM")) {
        if (h < 12) h += 12;
      } else if (same(fs.TimeAMString) || same("AM")) {
        if (h == 12) h = 0;
      } else {
        return false;
      }
    }
  }
  TDateTime time = 0;
  if (!TryEncodeTime(h, n, s, 0, time)) return false;
  result = date + time;
  return true;
}

std::string DateTimeToStorageText(TDateTime value) {
  const TDateParts t = DecodeDateTime(value);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return buf;
}

bool StorageTextToDateTime(const std::string& text, TDateTime& result) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char tail = 0;
  const int n = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail);
  if (n != 3 && n != 6) return false;
  TDateTime date = 0, time = 0;
  if (!TryEncodeDate(y, mo, d, date) || !TryEncodeTime(h, mi, s, 0, time)) return false;
  result = date + time;
  return true;
}

}  // namespace pagolin
