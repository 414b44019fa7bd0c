#include "gui/app/commandline.h"

#include <string_view>

#include "gui/app/appinfo.h"

namespace pagolin {

namespace {

const char kUsage[] =
    "Usage: pagolin [--site DIR]\n"
    "       pagolin --build [--site DIR]\n"
    "       pagolin --send-news [--site DIR]\n"
    "       pagolin --publish [--site DIR]\n"
    "       pagolin --help | --version\n";

}  // namespace

TCommandLine ParseCommandLine(int argc, const char* const* argv) {
  TCommandLine line;
  bool build = false;
  bool sendNews = false;
  bool publish = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") return {TRunMode::rmHelp, {}, {}, {}};
    if (arg == "--version") return {TRunMode::rmVersion, {}, {}, {}};
    if (!line.Error.empty()) continue;
    if (arg == "--site") {
      if (i + 1 < argc)
        line.Site = argv[++i];
      else
        line.Error = "--site needs a folder";
    } else if (arg == "--build") {
      build = true;
    } else if (arg == "--send-news") {
      sendNews = true;
    } else if (arg == "--publish") {
      publish = true;
    } else if (arg.starts_with("--")) {
      line.Error = "unknown option " + std::string(arg);
    } else {
      line.Others.emplace_back(arg);
    }
  }
  if (line.Error.empty() && build + sendNews + publish > 1)
    line.Error = "--build, --send-news and --publish exclude each other";
  if (!line.Error.empty())
    line.Mode = TRunMode::rmUsageError;
  else if (build)
    line.Mode = TRunMode::rmBuild;
  else if (sendNews)
    line.Mode = TRunMode::rmSendNews;
  else if (publish)
    line.Mode = TRunMode::rmPublish;
  return line;
}

std::string HelpText(const std::string& helpFile) {
  return std::string(kUsage) +
         "\n"
         "Keeps a small software publisher's web site and announces its news on Usenet.\n"
         "\n"
         "  --site DIR    the site folder: its five tables and pagolin.ini\n"
         "                (default: the program's own folder when it holds a site,\n"
         "                else ~/Pagolin)\n"
         "  --build       builds the pages without a window and prints the upload list\n"
         "  --send-news   sends the due newsgroup postings without a window\n"
         "  --publish     uploads the files that changed since the last publish to\n"
         "                the web server of the settings, without a window\n"
         "  --help        shows this text\n"
         "  --version     shows the version\n"
         "\n"
         "pagolin-newsite DIR prepares a new site folder.\n"
         "Exit status: 0 on success, 1 when a build, a posting or a publish failed, 2 for a\n"
         "command line that is not understood.\n"
         "\n"
         "Help pages: " +
         helpFile + "\n";
}

std::string VersionText() {
  return std::string("pagolin ") + kAppVersion + "\n" + LicenseText() + "\n";
}

std::string LicenseText() {
  return std::string("License ") + kLicense +
         ": the GNU General Public License, version 3 or later.\n"
         "This is free software: you may change and share it under that license.\n"
         "There is no warranty, to the extent permitted by law.";
}

std::string UsageErrorText(const std::string& error) {
  return "pagolin: " + error + "\n" + kUsage + "Try 'pagolin --help' for more information.\n";
}

}  // namespace pagolin
