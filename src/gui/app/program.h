// The program's long-lived objects, created once at start in this order and alive until the
// program ends: the main window, the data module, then the dialogs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QString>

namespace pagolin {

class TForm1;
class TDataModule2;
class TdlgAbout;
class TdlgProgress;
class TdlgSettings;
class TdlgNewDatabase;

struct TProgramObjects {
  TForm1* Form1 = nullptr;
  TDataModule2* DataModule2 = nullptr;
  TdlgAbout* dlgAbout = nullptr;
  TdlgProgress* dlgProgress = nullptr;
  TdlgSettings* dlgSettings = nullptr;
  TdlgNewDatabase* dlgNewDatabase = nullptr;
  std::string SiteFolder;  // with its trailing delimiter
  QString HelpFile;
  std::vector<std::string> CreationOrder;  // the names above, as they were created
};

// The one instance; empty until StartProgram has run.
TProgramObjects& Program();

// Creates the six objects in their order for the site in siteFolder. An error while the data
// module opens its tables is shown in the standard error box; the program keeps running.
// The caller owns nothing: FinishProgram destroys the objects in reverse order.
void StartProgram(const std::string& siteFolder);
void FinishProgram();

// The Qt implementations of the core's message hooks (message boxes, pending messages).
void InstallQtMessageHooks();

}  // namespace pagolin
