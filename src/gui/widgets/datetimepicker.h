// TDateTimePicker: a date box in the program's short date form with a drop-down calendar. It
// holds a date and time: the box edits the date, the time of day stays as it was last set.
#pragma once

#include <QDateEdit>

#include "core/platform/datetime.h"

namespace pagolin {

class TDateTimePicker : public QDateEdit {
  Q_OBJECT

 public:
  explicit TDateTimePicker(QWidget* parent = nullptr);

  TDateTime DateTime() const;  // the date shown, with the time of day last set
  TDateTime Date() const;      // the date shown, at midnight
  // Shows the value; Change() does not fire. A value outside the calendar shows its nearest date.
  void SetDateTime(TDateTime value);
  // Takes the short date form of the program's format settings (done at creation).
  void ApplyFormat();

 signals:
  void Change();  // OnChange: the person picked or typed another date

 private:
  TDateTime timeOfDay_ = 0;
  bool setting_ = false;
};

}  // namespace pagolin
