// The program's start; the command line is in commandline.h.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/data/siteschema.h"
#include "core/net/ip_misc.h"
#include "core/platform/filenames.h"
#include "gui/app/commandline.h"
#include "gui/app/headless.h"
#include "gui/app/helpfile.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/application.h"
#include "gui/components/localeformats.h"
#include "gui/components/singleinstance.h"

namespace {

int UsageError(const std::string& error) {
  std::fputs(pagolin::UsageErrorText(error).c_str(), stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const pagolin::TCommandLine line = pagolin::ParseCommandLine(argc, argv);
  // The settings and the tables stay where they were given, whatever the working folder.
  const char* home = std::getenv("HOME");
  const std::string site = pagolin::AbsolutePath(
      line.Site.empty() ? pagolin::DefaultSiteFolder(pagolin::ProgramFolder(), home ? home : "") : line.Site);
  switch (line.Mode) {
    case pagolin::TRunMode::rmHelp:
      std::fputs(pagolin::HelpText(pagolin::FindHelpFile(pagolin::ProgramFolder())).c_str(), stdout);
      return 0;
    case pagolin::TRunMode::rmVersion: std::fputs(pagolin::VersionText().c_str(), stdout); return 0;
    case pagolin::TRunMode::rmUsageError: return UsageError(line.Error);
    default: break;
  }
  if (line.Mode != pagolin::TRunMode::rmWindow && !line.Others.empty())
    return UsageError("unexpected argument " + line.Others.front());
  // Dates on pages and in the editors follow the user's locale.
  pagolin::FormatSettings() = pagolin::FormatSettingsFromLocale(QLocale::system());
  if (line.Mode == pagolin::TRunMode::rmBuild) return pagolin::HeadlessBuild(site);
  if (line.Mode == pagolin::TRunMode::rmSendNews) return pagolin::HeadlessSendNews(site);
  if (line.Mode == pagolin::TRunMode::rmPublish) return pagolin::HeadlessPublish(site);

  pagolin::TApplication app(argc, argv);
  // The window system has taken its own options (-platform, -style, ...); the rest is unknown.
  const pagolin::TCommandLine rest = pagolin::ParseCommandLine(argc, argv);
  if (!rest.Others.empty()) return UsageError("unexpected argument " + rest.Others.front());
  pagolin::StartNetwork();  // before any window
  QApplication::setStyle(QStringLiteral("Fusion"));
  pagolin::InstallQtMessageHooks();
  int status = 0;
  {
    pagolin::TProgram program(site, pagolin::ProgramName());
    // A copy that handed over to a first copy on the same site ends without showing its window.
    if (!program.Form1().SingleInstance1->Terminated()) {
      program.Form1().ShowMaximised();
      status = app.exec();
    }
  }
  pagolin::StopNetwork();
  return status;
}
