// A file chosen for a product or link (download archive, screenshot, image) must lie in the
// output folder, where the build looks for it by its bare name. A file chosen elsewhere is
// copied there when the person agrees.
#pragma once

#include <optional>
#include <string>

namespace pagolin {

// Whether fileName lies directly in folder (both resolved: links, "." and ".."). False when
// either does not exist.
bool LiesInFolder(const std::string& fileName, const std::string& folder);

// Copies source to target whole or not at all (a temporary file beside target, renamed).
// False, with a reason that names the file, when it cannot.
bool CopyFileWhole(const std::string& source, const std::string& target, std::string& error);

// The name to store for the chosen file. A file outside outputFolder: asks "Copy <name> into
// the upload folder?"; on Yes copies it there, asking first whether to replace a file of that
// name (No keeps the file that is there). A copy that fails is shown as an error and gives
// nullopt: nothing is to be stored. Otherwise the bare file name.
std::optional<std::string> OutputFileName(const std::string& chosen, const std::string& outputFolder);

}  // namespace pagolin
