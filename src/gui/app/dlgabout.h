// TdlgAbout: the about box with the program's title and version.
#pragma once

#include <QDialog>

namespace pagolin {

class TdlgAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgAbout(QWidget* parent = nullptr);
};

}  // namespace pagolin
