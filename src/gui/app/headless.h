// Runs without any window, for scripts and schedulers. Each returns the exit status.
#pragma once

#include <string>

namespace pagolin {

class TSettings;

// Builds the pages of the site in siteFolder; prints the upload list and the total.
int HeadlessBuild(const std::string& siteFolder);
// Sends the due postings of the site in siteFolder; prints one line per posting.
int HeadlessSendNews(const std::string& siteFolder);
// Publishes the site in siteFolder; prints one line per file uploaded or deleted.
int HeadlessPublish(const std::string& siteFolder);

// Console message hooks: messages to standard error; error boxes too, or left out where the
// command prints each failure on a line of its own.
void InstallConsoleHooks(bool printErrorBoxes);
// One line on standard error.
void PrintError(const std::string& text);

// Loads the site's settings for a command; a write-back that failed is printed as a warning.
// False, with "The settings could not be read, so nothing was <done>: ..." printed, when the
// file could not be read: a command must not run on defaults it was not meant to use.
bool LoadSettingsForCommand(TSettings& settings, const std::string& done);

}  // namespace pagolin
