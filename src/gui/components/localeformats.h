// The program's date and time formats come from the user's locale.
#pragma once

#include <QLocale>

#include "core/platform/datetime.h"

namespace pagolin {

// A Qt date or time pattern in the pattern letters of FormatDateTime (M -> m, m -> n, AP -> ampm,
// letters Qt takes literally are quoted).
std::string PatternFromQt(const QString& qtPattern);

// The other way, for the date letters of a pattern: a Qt display format of a date editor that
// shows dates as FormatDateTime does ("/" becomes the date separator; quoted literals stay).
QString QtDatePattern(const std::string& pattern, char dateSeparator);

// Separators, short and long date and time patterns, AM/PM texts, month and day names.
TFormatSettings FormatSettingsFromLocale(const QLocale& locale);

}  // namespace pagolin
