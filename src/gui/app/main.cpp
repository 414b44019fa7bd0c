// pagolin [--site DIR]            the program, on the site kept in DIR (default: its own folder)
// pagolin --build [--site DIR]     builds the pages without a window
// pagolin --send-news [--site DIR] sends the due postings without a window
#include <QApplication>

#include <cstdio>
#include <cstring>
#include <string>

#include "gui/app/headless.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/localeformats.h"
#include "core/net/ip_misc.h"
#include "core/platform/filenames.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: pagolin [--build | --send-news] [--site DIR]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string site = pagolin::ProgramFolder();
  bool build = false;
  bool sendNews = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--site") == 0 && i + 1 < argc) {
      site = argv[++i];
    } else if (std::strcmp(argv[i], "--build") == 0) {
      build = true;
    } else if (std::strcmp(argv[i], "--send-news") == 0) {
      sendNews = true;
    } else if (std::strncmp(argv[i], "--", 2) == 0) {
      return Usage();
    }
    // Anything else (-platform offscreen, -style ...) is Qt's and passes to QApplication.
  }
  if (build && sendNews) return Usage();
  site = pagolin::AbsolutePath(site);  // the settings and the tables stay where they were given
  // Dates on pages and in the editors follow the user's locale.
  pagolin::FormatSettings() = pagolin::FormatSettingsFromLocale(QLocale::system());
  if (build) return pagolin::HeadlessBuild(site);
  if (sendNews) return pagolin::HeadlessSendNews(site);

  pagolin::StartNetwork();  // before any window
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  pagolin::InstallQtMessageHooks();
  int status = 0;
  {
    pagolin::TProgram program(site, pagolin::ProgramName());
    program.Form1().ShowMaximised();
    status = app.exec();
  }
  pagolin::StopNetwork();
  return status;
}
