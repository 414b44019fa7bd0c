#include "core/pages/uploadlist.h"

#include <algorithm>

#include "core/data/settings.h"
#include "core/pages/fileinfo.h"
#include "core/pages/sitefiles.h"
#include "core/platform/codepage.h"
#include "core/platform/filenames.h"

namespace pagolin {
namespace {

// Letters compared without case: a to z, the accented letters of Windows-1252 (as names have
// always sorted), and the capitals of Latin Extended-A, Greek and Cyrillic.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
  if (c == 0x9F) return 0xFF;
  return c;
}

char32_t FoldCase(char32_t u) {
  const bool evenPairs = (u >= 0x100 && u <= 0x137) || (u >= 0x14A && u <= 0x177);
  const bool oddPairs = (u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E);
  if ((evenPairs && u % 2 == 0) || (oddPairs && u % 2 == 1)) return u + 1;
  if ((u >= 0x391 && u <= 0x3AB && u != 0x3A2) || (u >= 0x410 && u <= 0x42F)) return u + 0x20;
  if (u >= 0x400 && u <= 0x40F) return u + 0x50;
  return u;
}

// The sort key of a name (UTF-8): keys compare as the names compare without case. A character
// of Windows-1252 counts as its folded byte, so names sort as they always have; any other
// character comes after all of those, in the order of its folded code point.
std::u32string Folded(std::string_view text) {
  std::u32string folded;
  folded.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t u;
    if (!DecodeUtf8(text, i, u)) u = kReplacementChar;
    const int ansi = UnicodeToAnsiChar(u);
    folded += ansi >= 0 ? FoldCase(static_cast<unsigned char>(ansi)) : 0x100 + FoldCase(u);
  }
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
  std::vector<std::pair<std::u32string, TUploadItem>> keyed;
  keyed.reserve(list.Items.size());
  for (TUploadItem& item : list.Items) keyed.emplace_back(Folded(item.Text), std::move(item));
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < keyed.size(); ++i) list.Items[i] = std::move(keyed[i].second);
  return list;
}

std::string UsedSpaceText(std::int64_t totalKB) { return std::to_string(totalKB) + " KB"; }

}  // namespace pagolin
