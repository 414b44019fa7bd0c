#include "gui/app/program.h"

#include <QApplication>
#include <QFileInfo>

#include "gui/app/appinfo.h"
#include "gui/app/dlgabout.h"
#include "gui/app/mainwindow.h"
#include "gui/pages/dlgprogress.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgnewdatabase.h"
#include "core/data/datamod.h"
#include "gui/data/dlgsettings.h"
#include "core/platform/filenames.h"
#include "core/platform/hooks.h"

namespace pagolin {

TProgramObjects& Program() {
  static TProgramObjects objects;
  return objects;
}

void StartProgram(const std::string& siteFolder) {
  TProgramObjects& p = Program();
  p.SiteFolder = IncludeTrailingPathDelimiter(siteFolder);
  QApplication::setApplicationName(QString::fromLatin1(kAppName));
  QApplication::setApplicationDisplayName(QString::fromLatin1(kAppTitle));
  p.HelpFile = ToQ(ProgramFolder() + kHelpFile);

  p.Form1 = new TForm1;
  p.CreationOrder.push_back("Form1");
  p.DataModule2 = new TDataModule2(p.SiteFolder);
  p.CreationOrder.push_back("DataModule2");
  try {
    p.DataModule2->DataModule2Create();
  } catch (const std::exception& e) {
    // The standard error box; the program runs on with the tables that did open.
    ShowError(e.what());
  }
  // The dialogs are owned by the main window so they centre over it.
  p.dlgAbout = new TdlgAbout(p.Form1);
  p.dlgProgress = new TdlgProgress(p.Form1);
  p.dlgSettings = new TdlgSettings(p.Form1);
  p.dlgNewDatabase = new TdlgNewDatabase(p.Form1);
  for (const char* name : {"dlgAbout", "dlgProgress", "dlgSettings", "dlgNewDatabase"})
    p.CreationOrder.push_back(name);
}

void FinishProgram() {
  TProgramObjects& p = Program();
  // Reverse order: the dialogs, the data module (closes the tables), the main window.
  delete p.dlgNewDatabase;
  delete p.dlgSettings;
  delete p.dlgProgress;
  delete p.dlgAbout;
  delete p.DataModule2;
  delete p.Form1;
  p = TProgramObjects{};
}

}  // namespace pagolin
