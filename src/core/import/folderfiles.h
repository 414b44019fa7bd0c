// The files of an old site folder, found by name without regard to case (the old tables came
// from a system where "news.db" and "NEWS.MB" are one family).
#pragma once

#include <string>
#include <vector>

namespace pagolin {

// The names of the regular files in folder, sorted; empty when it cannot be read.
std::vector<std::string> FolderFileNames(const std::string& folder);

// The name of the file in folder that is name without regard to case (an exact match first);
// "" when there is none.
std::string FindFileNoCase(const std::string& folder, const std::string& name);

}  // namespace pagolin
