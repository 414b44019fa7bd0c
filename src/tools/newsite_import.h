// pagolin-newsite DIR --import OLDFOLDER: a publisher's old site folder made into a new site.
#pragma once

#include <string>

namespace pagolin {

// Imports, prints the report and returns the exit status: 0 when everything came over, 1
// when something did not or the import could not be done (the message names the file).
int RunImport(const std::string& siteFolder, const std::string& oldFolder);

}  // namespace pagolin
