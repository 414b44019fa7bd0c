// TdlgNewDatabase: empties chosen content tables after a confirmation.
#pragma once

#include <QDialog>

namespace pagolin {

class TdlgNewDatabase : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgNewDatabase(QWidget* parent = nullptr);
};

}  // namespace pagolin
