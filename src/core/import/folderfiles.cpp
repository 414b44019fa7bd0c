#include "core/import/folderfiles.h"

#include <algorithm>
#include <filesystem>

#include "core/platform/inifile.h"

namespace pagolin {

std::vector<std::string> FolderFileNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec)) names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string FindFileNoCase(const std::string& folder, const std::string& name) {
  const std::vector<std::string> names = FolderFileNames(folder);
  if (std::find(names.begin(), names.end(), name) != names.end()) return name;
  for (const std::string& n : names)
    if (SameText(n, name)) return n;
  return {};
}

}  // namespace pagolin
