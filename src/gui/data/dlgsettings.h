// TdlgSettings: the modal settings dialog. Filled in with the settings work.
#pragma once

#include <QDialog>

namespace pagolin {

class TdlgSettings : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgSettings(QWidget* parent = nullptr);
};

}  // namespace pagolin
