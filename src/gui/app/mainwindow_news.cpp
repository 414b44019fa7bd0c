// The main window's "Send News" command. Wired with the news posting work.
#include "app/mainwindow.h"

namespace pagolin {

void TForm1::WireNewsCommands() { actSendNews->setEnabled(false); }

void TForm1::ToolButton7Click() {}

}  // namespace pagolin
