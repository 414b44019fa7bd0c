// The upload archive of the archive method: one ZIP file holding the site's present files,
// which the user hands to the web server in one piece.
#pragma once

#include <string>
#include <vector>

#include "core/pages/sitefiles.h"

namespace pagolin {

class TSettings;

// Writes archive whole with each of files under its name (with its date): a temporary file
// beside it, renamed into place, so that a failure leaves the archive as it was. Returns false
// with a readable reason that names the file when it cannot.
bool WriteUploadArchive(const std::vector<TSiteFile>& files, const std::string& archive, std::string& error);

// After a complete build: with the archive method and an archive name set, writes the archive
// with the present files of the build's file list (PresentFiles); otherwise does nothing.
// Returns false with the reason when the archive cannot be written.
bool UpdateUploadArchive(const std::vector<std::string>& fileList, const TSettings& settings,
                         std::string& error);

}  // namespace pagolin
