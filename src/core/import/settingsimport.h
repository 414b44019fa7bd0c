// The old settings file of an imported site carried over into the new site's settings file.
#pragma once

#include <string>

#include "core/import/importreport.h"

namespace pagolin {

// Looks in oldFolder for the old program's settings file: "pagolin.ini" without regard to
// case, else the only ".ini" file there. Writes newFile (the settings file of the site that
// will live in siteFolder) as a copy of it in which every key keeps its value, except that
// the folder keys holding Windows paths, which cannot be used here, point to siteFolder (the
// archive keeps its file name); their old values are kept as keys of the section [Imported],
// with a line saying so. Adds its notes to report; a settings file that is missing leaves
// newFile unwritten (the defaults serve), one that cannot be read sets settingsLost. The
// folder keys are those whose default lies in the site folder (the output folder and the
// upload archive).
void ImportSettings(const std::string& oldFolder, const std::string& siteFolder, const std::string& newFile,
                    TImportReport& report);

// "C:\...", "\\server\...", or anything with a backslash.
bool IsWindowsPath(const std::string& value);

}  // namespace pagolin
