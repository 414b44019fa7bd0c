#include "gui/data/dlgnewdatabase.h"

namespace pagolin {

TdlgNewDatabase::TdlgNewDatabase(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgNewDatabase"));
  setWindowTitle(QStringLiteral("Create new database"));
}

}  // namespace pagolin
