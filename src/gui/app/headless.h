// Runs without any window, for scripts and schedulers. Each returns the exit status.
#pragma once

#include <string>

namespace pagolin {

// Builds the pages of the site in siteFolder; prints the upload list and the total.
int HeadlessBuild(const std::string& siteFolder);
// Sends the due postings of the site in siteFolder; prints one line per posting.
int HeadlessSendNews(const std::string& siteFolder);

}  // namespace pagolin
