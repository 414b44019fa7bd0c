// TdlgAbout: the about box with the program's title and version, as the application
// information component carries them.
#pragma once

#include <QDialog>

namespace pagolin {

class TNVApplication;

class TdlgAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgAbout(const TNVApplication& info, QWidget* parent = nullptr);
};

}  // namespace pagolin
