// A publisher's old site folder (the five old table files with their memo files, and the old
// program's settings file) made into a new site.
#pragma once

#include <string>

#include "core/import/importreport.h"

namespace pagolin {

// Imports the five tables and the settings file of oldFolder into siteFolder, which is made
// when missing and must not hold a table file or a settings file yet. Old file names are
// found without regard to case. Everything is written into a temporary folder inside
// siteFolder and moved into place at the end, so that a failure leaves siteFolder as it was.
// Nothing in oldFolder is written.
// Returns the report (whose Complete() says whether everything came over); throws
// EImportError with a message naming the file when the import cannot be done at all.
TImportReport ImportSite(const std::string& oldFolder, const std::string& siteFolder);

}  // namespace pagolin
