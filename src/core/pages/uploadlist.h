// The upload list shown after a build: one item per file of the site, with a check mark for
// the files present and notes for the upload archive, and the space they take.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagolin {

class TSettings;

struct TUploadItem {
  TUploadItem() = default;
  TUploadItem(std::string text, bool checked, std::string path = {})
      : Text(std::move(text)), Checked(checked), Path(std::move(path)) {}

  std::string Text;  // the file name, or a note naming it
  bool Checked = false;
  std::string Path;  // where the file was looked for (the file system's bytes)
  // Items are equal when they show the same.
  friend bool operator==(const TUploadItem& a, const TUploadItem& b) {
    return a.Text == b.Text && a.Checked == b.Checked;
  }
};

struct TUploadList {
  std::vector<TUploadItem> Items;  // in the order to show, sorted by text without case
  std::int64_t TotalKB = 0;        // sum of GetFileSizeKB of the files present
};

// Builds the list from the build's file list (full paths, duplicates counted each time).
// Each file is looked up by its name in the folder the build wrote to: the output folder with
// the FTP method, the upload archive's folder otherwise. Present files are checked and
// counted. When the archive method is chosen and the archive exists, a present file newer than
// the archive reads "Please include this file in " + ARCHIVE NAME + ": " + name, a missing one
// "Please build this file: " + name.
TUploadList MakeUploadList(const std::vector<std::string>& fileList, const TSettings& settings);

// "57 KB".
std::string UsedSpaceText(std::int64_t totalKB);

}  // namespace pagolin
