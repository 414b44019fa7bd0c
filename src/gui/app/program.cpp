#include "app/program.h"

#include <QApplication>
#include <QFileInfo>

#include "app/appinfo.h"
#include "app/dlgabout.h"
#include "app/mainwindow.h"
#include "build/dlgprogress.h"
#include "components/qtext.h"
#include "data/dlgnewdatabase.h"
#include "data/dlgsettings.h"
#include "platform/filenames.h"

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
  // The data module comes second, then the dialogs, each owned by the main window so they
  // centre over it and live exactly as long.
  p.dlgAbout = new TdlgAbout(p.Form1);
  p.dlgProgress = new TdlgProgress(p.Form1);
  p.dlgSettings = new TdlgSettings(p.Form1);
  p.dlgNewDatabase = new TdlgNewDatabase(p.Form1);
}

void FinishProgram() {
  TProgramObjects& p = Program();
  delete p.Form1;  // takes the dialogs with it
  p = TProgramObjects{};
}

}  // namespace pagolin
