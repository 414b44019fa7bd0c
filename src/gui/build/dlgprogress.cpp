#include "build/dlgprogress.h"

namespace pagolin {

TdlgProgress::TdlgProgress(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgProgress"));
  setWindowTitle(QStringLiteral("Build web pages"));
}

}  // namespace pagolin
