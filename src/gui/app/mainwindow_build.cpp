// The main window's "Build pages" command. Wired with the page builder work.
#include "app/mainwindow.h"

namespace pagolin {

void TForm1::WireBuildCommands() {
  for (QAction* a : {actBuild, Build2}) a->setEnabled(false);
}

void TForm1::Build2Click() {}

}  // namespace pagolin
