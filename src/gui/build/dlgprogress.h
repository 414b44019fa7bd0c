// TdlgProgress: the modal "Build web pages" dialog. Filled in with the page builder work.
#pragma once

#include <QDialog>

namespace pagolin {

class TdlgProgress : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgProgress(QWidget* parent = nullptr);
};

}  // namespace pagolin
