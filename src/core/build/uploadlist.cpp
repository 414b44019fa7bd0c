#include "uploadlist.h"

#include <algorithm>

#include "build/fileinfo.h"
#include "data/settings.h"
#include "platform/filenames.h"

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

bool LessWithoutCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return FoldCase(static_cast<unsigned char>(x)) < FoldCase(static_cast<unsigned char>(y));
  });
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
  const std::string checkFolder =
      settings.IsFTPUpload() ? settings.OutputFolder() : ExtractFilePath(archive);
  const TDateTime archiveDate = archiveMode ? GetFileDate(archive) : 0;
  const std::string archiveName = UpperAToZ(ExtractFileName(archive));

  TUploadList list;
  list.Items.reserve(fileList.size());
  for (const std::string& path : fileList) {
    TUploadItem item;
    const std::string name = ExtractFileName(path);
    const std::string file = checkFolder + name;
    const TFileFacts facts = LookAtFile(file);
    const bool present = facts.exists;
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
  std::stable_sort(list.Items.begin(), list.Items.end(),
                   [](const TUploadItem& a, const TUploadItem& b) { return LessWithoutCase(a.Text, b.Text); });
  return list;
}

std::string UsedSpaceText(std::int64_t totalKB) { return std::to_string(totalKB) + " KB"; }

}  // namespace pagolin
