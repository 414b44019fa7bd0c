// The main window's settings-related commands: "Settings...", the captions that follow the
// settings, and the shell commands that open the built site. Wired with the settings work.
#include "app/mainwindow.h"

namespace pagolin {

void TForm1::WireSettingsCommands() {
  for (QAction* a : {actSettings, Settings1, actLaunchBrowser}) a->setEnabled(false);
  Button1->setEnabled(false);
}

void TForm1::FormShow() {}
void TForm1::ApplyLanguageCaptions() {}
void TForm1::ToolButton2Click() {}
void TForm1::ToolButton3Click() {}
void TForm1::Button1Click() {}
void TForm1::btnOpenUploadArchiveClick() {}

}  // namespace pagolin
