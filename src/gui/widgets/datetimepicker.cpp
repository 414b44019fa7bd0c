#include "gui/widgets/datetimepicker.h"

#include <QCalendarWidget>
#include <cmath>

#include "gui/components/localeformats.h"

namespace pagolin {

TDateTimePicker::TDateTimePicker(QWidget* parent) : QDateEdit(parent) {
  setCalendarPopup(true);
  calendarWidget()->setObjectName(QStringLiteral("Calendar"));
  ApplyFormat();
  connect(this, &QDateEdit::dateChanged, this, [this] {
    if (!setting_) emit Change();
  });
}

void TDateTimePicker::ApplyFormat() {
  const TFormatSettings& fs = FormatSettings();
  setDisplayFormat(QtDatePattern(fs.ShortDateFormat, fs.DateSeparator));
}

TDateTime TDateTimePicker::Date() const {
  const QDate d = date();
  return EncodeDate(d.year(), d.month(), d.day());
}

TDateTime TDateTimePicker::DateTime() const { return Date() + timeOfDay_; }

void TDateTimePicker::SetDateTime(TDateTime value) {
  double days = 0;
  timeOfDay_ = std::fabs(std::modf(value, &days));
  const TDateParts parts = DecodeDateTime(value);
  setting_ = true;
  setDate(QDate(parts.year, parts.month, parts.day));
  setting_ = false;
}

}  // namespace pagolin
