// The publisher's company name, shown in the main window's products tab caption. It is the
// plain-text value (Description 1) of the variable code "COMPANY" of the site, the same text
// the postings use for "%COMPANY%". Read straight from the codes file, so the shared cursor
// of the codes table does not move.
#pragma once

#include <string>

namespace pagolin {

// "" when the site has no codes file, no such variable, or the file cannot be read.
std::string CompanyName(const std::string& siteFolder);

}  // namespace pagolin
