// The program's command line:
//   pagolin [--site DIR]               the program, on the site kept in DIR
//   pagolin --build [--site DIR]       builds the pages without a window
//   pagolin --send-news [--site DIR]   sends the due postings without a window
//   pagolin --publish [--site DIR]     uploads what changed since the last publish
//   pagolin --help | --version
// The site folder defaults to the program's own folder.
#pragma once

#include <string>
#include <vector>

namespace pagolin {

enum class TRunMode { rmWindow, rmBuild, rmSendNews, rmPublish, rmHelp, rmVersion, rmUsageError };

struct TCommandLine {
  TRunMode Mode = TRunMode::rmWindow;
  std::string Site;  // "" when --site was not given
  // Arguments that are none of ours: the window system's own options (-platform, -style, ...)
  // until it has taken them; anything left after that is an error.
  std::vector<std::string> Others;
  std::string Error;  // what is wrong, with rmUsageError
};

// "--help" and "--version" win over everything else; an unknown "--" option, --site without
// its folder, or two headless modes give rmUsageError.
TCommandLine ParseCommandLine(int argc, const char* const* argv);

// --help: the usage, what each option does, and where the help pages are.
std::string HelpText(const std::string& helpFile);
// --version: "pagolin " + the version on the first line, then the licence.
std::string VersionText();
// The licence in a few lines: its identifier, what it allows, no warranty (also in the about box).
std::string LicenseText();
// The lines shown, on standard error, for a command line that is not understood: what is
// wrong, the usage, and where to read more.
std::string UsageErrorText(const std::string& error);

}  // namespace pagolin
