#include "core/pages/uploadlist.h"

#include <algorithm>

#include "core/data/settings.h"
#include "core/pages/fileinfo.h"
#include "core/pages/sitefiles.h"
#include "core/platform/filenames.h"

namespace pagolin {
namespace {

// Letters compared without case: a to z, and the accented letters of Windows-1252.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
  if (c == 0x9F) return 0xFF;
  return c;
}

// The text with its letters folded: folded texts compare as the texts compare without case
// (byte by byte as unsigned values, a prefix first).
std::string Folded(const std::string& text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  return folded;
}

std::string UpperAToZ(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

TUploadList MakeUploadList(const std::vector<std::string>& fileList, const TSettings& settings) {
  const std::string archive = settings.ArchiveFileName();
  const bool archiveMode = !settings.IsFTPUpload() && FileExists(archive);
  // Where the build wrote the files (the archive's folder is the output folder of that method).
  const std::string checkFolder = UploadFolder(settings);
  const TDateTime archiveDate = archiveMode ? GetFileDate(archive) : 0;
  const std::string archiveName = UpperAToZ(PathText(ExtractFileName(archive)));

  TUploadList list;
  list.Items.reserve(fileList.size());
  for (const std::string& path : fileList) {
    TUploadItem item;
    item.Path = checkFolder + ExtractFileName(path);
    const TFileFacts facts = LookAtFile(item.Path);
    const bool present = facts.exists;
    const std::string name = PathText(ExtractFileName(path));
    item.Text = name;
    if (present) {
      item.Checked = true;
      list.TotalKB += facts.sizeKB;
    }
    if (archiveMode) {
      if (present && facts.date > archiveDate)
        item.Text = "Please include this file in " + archiveName + ": " + name;
      else if (!present)
        item.Text = "Please build this file: " + name;
    }
    list.Items.push_back(std::move(item));
  }
  // Each text is folded once, not at every comparison of the sort.
  std::vector<std::pair<std::string, TUploadItem>> keyed;
  keyed.reserve(list.Items.size());
  for (TUploadItem& item : list.Items) keyed.emplace_back(Folded(item.Text), std::move(item));
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < keyed.size(); ++i) list.Items[i] = std::move(keyed[i].second);
  return list;
}

std::string UsedSpaceText(std::int64_t totalKB) { return std::to_string(totalKB) + " KB"; }

}  // namespace pagolin
