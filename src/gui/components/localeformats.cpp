#include "gui/components/localeformats.h"

#include <algorithm>
#include <cctype>

#include "gui/components/qtext.h"

namespace pagolin {

namespace {

int RunLength(const QString& p, qsizetype i) {
  int n = 1;
  while (i + n < p.size() && p[i + n] == p[i]) ++n;
  return n;
}

char FirstSeparator(const std::string& pattern, char fallback) {
  bool quoted = false;
  for (char c : pattern) {
    if (c == '\'') quoted = !quoted;
    if (!quoted && c != '\'' && c != ' ' && !std::isalpha(static_cast<unsigned char>(c))) return c;
  }
  return fallback;
}

}  // namespace

std::string PatternFromQt(const QString& p) {
  std::string out;
  qsizetype i = 0;
  while (i < p.size()) {
    const QChar c = p[i];
    if (c == QLatin1Char('\'')) {
      // A quoted literal; '' stands for one quote.
      qsizetype j = i + 1;
      std::string literal;
      while (j < p.size()) {
        if (p[j] == QLatin1Char('\'')) {
          if (j + 1 < p.size() && p[j + 1] == QLatin1Char('\'')) {
            literal += '\'';
            j += 2;
            continue;
          }
          break;
        }
        literal += FromQ(QString(p[j]));
        ++j;
      }
      if (j == i + 1 && j < p.size()) {
        out += "\"'\"";  // '' outside a literal: one quote
        i = j + 1;
        continue;
      }
      if (!literal.empty()) out += "\"" + literal + "\"";
      i = j + 1;
      continue;
    }
    const int n = RunLength(p, i);
    const char ch = c.toLatin1();
    switch (ch) {
      case 'd': out += std::string(static_cast<size_t>(std::min(n, 4)), 'd'); break;
      case 'M': out += std::string(static_cast<size_t>(std::min(n, 4)), 'm'); break;
      case 'y': out += n >= 3 ? "yyyy" : "yy"; break;
      case 'h':
      case 'H': out += n >= 2 ? "hh" : "h"; break;
      case 'm': out += n >= 2 ? "nn" : "n"; break;
      case 's': out += n >= 2 ? "ss" : "s"; break;
      case 'z': out += n >= 2 ? "zzz" : "z"; break;
      case 'A':
      case 'a':
        out += "ampm";
        // "AP" / "ap" is one marker.
        if (i + 1 < p.size() && (p[i + 1] == QLatin1Char('P') || p[i + 1] == QLatin1Char('p'))) ++i;
        i += 1;
        continue;
      case 't': break;  // the time zone has no counterpart
      default: {
        const std::string text = FromQ(QString(n, c));
        if (c.isLetter())
          out += "\"" + text + "\"";  // a letter Qt shows as it is
        else
          out += text;
        break;
      }
    }
    i += n;
  }
  // A time zone dropped at the end leaves a blank behind.
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

QString QtDatePattern(const std::string& pattern, char dateSeparator) {
  QString out;
  auto literal = [&out](const std::string& text) {
    if (text.empty()) return;
    QString quoted = ToQ(text);
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    out += QLatin1Char('\'') + quoted + QLatin1Char('\'');
  };
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '"' || c == '\'') {
      const size_t end = pattern.find(c, i + 1);
      literal(pattern.substr(i + 1, (end == std::string::npos ? pattern.size() : end) - i - 1));
      i = end == std::string::npos ? pattern.size() : end + 1;
      continue;
    }
    size_t n = 1;
    while (i + n < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[i + n])) ==
                                         std::tolower(static_cast<unsigned char>(c)))
      ++n;
    const auto count = static_cast<qsizetype>(std::min<size_t>(n, 4));
    switch (std::tolower(static_cast<unsigned char>(c))) {
      case 'd': out += QString(count, QLatin1Char('d')); break;
      case 'm': out += QString(count, QLatin1Char('M')); break;
      case 'y': out += n <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy"); break;
      case '/':
        if (std::isalpha(static_cast<unsigned char>(dateSeparator)))
          literal(std::string(n, dateSeparator));
        else
          out += ToQ(std::string(n, dateSeparator));
        break;
      default:
        if (std::isalpha(static_cast<unsigned char>(c)))
          literal(pattern.substr(i, n));
        else
          out += ToQ(pattern.substr(i, n));
    }
    i += n;
  }
  return out;
}

TFormatSettings FormatSettingsFromLocale(const QLocale& locale) {
  TFormatSettings fs;
  fs.ShortDateFormat = PatternFromQt(locale.dateFormat(QLocale::ShortFormat));
  fs.LongDateFormat = PatternFromQt(locale.dateFormat(QLocale::LongFormat));
  fs.ShortTimeFormat = PatternFromQt(locale.timeFormat(QLocale::ShortFormat));
  fs.LongTimeFormat = PatternFromQt(locale.timeFormat(QLocale::LongFormat));
  fs.DateSeparator = FirstSeparator(fs.ShortDateFormat, '/');
  fs.TimeSeparator = FirstSeparator(fs.ShortTimeFormat, ':');
  fs.TimeAMString = FromQ(locale.amText());
  fs.TimePMString = FromQ(locale.pmText());
  for (int m = 1; m <= 12; ++m) {
    fs.ShortMonthNames[m - 1] = FromQ(locale.monthName(m, QLocale::ShortFormat));
    fs.LongMonthNames[m - 1] = FromQ(locale.monthName(m, QLocale::LongFormat));
  }
  for (int d = 1; d <= 7; ++d) {
    const int index = d % 7;  // Qt counts from Monday = 1, ours from Sunday = 0
    fs.ShortDayNames[index] = FromQ(locale.dayName(d, QLocale::ShortFormat));
    fs.LongDayNames[index] = FromQ(locale.dayName(d, QLocale::LongFormat));
  }
  return fs;
}

}  // namespace pagolin
