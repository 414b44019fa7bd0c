#include "data/dlgsettings.h"

namespace pagolin {

TdlgSettings::TdlgSettings(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgSettings"));
  setWindowTitle(QStringLiteral("Settings"));
}

}  // namespace pagolin
