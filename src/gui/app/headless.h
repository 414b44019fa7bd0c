// Runs without any window, for scripts and schedulers. Each returns the exit status.
#pragma once

#include <string>

namespace pagolin {

// Builds the pages of the site in siteFolder; prints the upload list and the total.
int HeadlessBuild(const std::string& siteFolder);
// Sends the due postings of the site in siteFolder; prints one line per posting.
int HeadlessSendNews(const std::string& siteFolder);

// Console message hooks: messages to standard error; error boxes too, or left out where the
// command prints each failure on a line of its own.
void InstallConsoleHooks(bool printErrorBoxes);
// One line on standard error (Windows-1252 text shown as UTF-8).
void PrintError(const std::string& text);

}  // namespace pagolin
