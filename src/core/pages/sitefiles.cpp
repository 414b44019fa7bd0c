#include "core/pages/sitefiles.h"

#include <map>
#include <set>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/pages/sitefeeds.h"
#include "core/platform/filenames.h"
#include "core/platform/recordkeeper.h"
#include "core/platform/ttable.h"

namespace pagolin {
namespace {

void AddNamedFile(TTable& table, const char* field, const std::string& outputFolder,
                  std::vector<std::string>& fileList) {
  const std::string name = table.FieldByName(field).AsString();
  if (!name.empty()) fileList.push_back(outputFolder + TextPath(name));
}

// Appends the files of each included row of table, from its first row to its last.
void AddFilesOfIncludedRows(TTable& table, const std::string& outputFolder,
                            std::vector<std::string>& fileList,
                            void (*add)(TTable&, const std::string&, std::vector<std::string>&)) {
  TRecordKeeper keeper(table);
  for (table.First(); !table.Eof() && !table.IsEmpty(); table.Next())
    if (table.FieldByName("Include").AsBoolean()) add(table, outputFolder, fileList);
  keeper.Restore();
}

}  // namespace

void AddProductFiles(TTable& products, const std::string& outputFolder, std::vector<std::string>& fileList) {
  AddNamedFile(products, "Download Area Filename", outputFolder, fileList);
  AddNamedFile(products, "Screenshot", outputFolder, fileList);
}

void AddLinkFiles(TTable& links, const std::string& outputFolder, std::vector<std::string>& fileList) {
  AddNamedFile(links, "Image", outputFolder, fileList);
}

std::vector<std::string> SiteFileList(TDataModule2& dataModule, const TSettings& settings) {
  const std::string home = settings.HomePagePath();
  const std::string ext = ExtractFileExt(home);
  const std::string base = home.substr(0, home.size() - ext.size());
  const std::string outputFolder = settings.OutputFolder();
  std::string problem;
  const bool feeds = TSiteFeeds::ForSettings(settings, problem) != nullptr;
  std::vector<std::string> fileList{home, base + "2" + ext};
  if (feeds) fileList.push_back(base + "2.xml");
  dataModule.tblProducts.SetIndexName("byCategory");
  AddFilesOfIncludedRows(dataModule.tblProducts, outputFolder, fileList, AddProductFiles);
  AddFilesOfIncludedRows(dataModule.tblLinks, outputFolder, fileList, AddLinkFiles);
  fileList.push_back(base + "1" + ext);
  if (feeds) {
    fileList.push_back(base + "1.xml");
    fileList.push_back(outputFolder + std::string(TSiteFeeds::kSitemapFileName));
  }
  return fileList;
}

std::string UploadFolder(const TSettings& settings) {
  const std::string archive = settings.ArchiveFileName();
  // Without an archive name the pages went to the site folder, not to the working folder.
  return settings.IsFTPUpload() || archive.empty() ? settings.OutputFolder() : ExtractFilePath(archive);
}

std::vector<TSiteFile> PresentFiles(const std::vector<std::string>& fileList, const TSettings& settings) {
  const std::string folder = UploadFolder(settings);
  const std::string home = settings.WWWHomepageFile;
  const std::string ext = ExtractFileExt(home);
  const std::string base = home.substr(0, home.size() - ext.size());
  const std::map<std::string, TSiteFileKind> kinds{
      {home, TSiteFileKind::sfTitlePage},
      {base + "1" + ext, TSiteFileKind::sfLanguagePage},
      {base + "2" + ext, TSiteFileKind::sfLanguagePage},
      {base + "1.xml", TSiteFileKind::sfFeed},
      {base + "2.xml", TSiteFileKind::sfFeed},
      {std::string(TSiteFeeds::kSitemapFileName), TSiteFileKind::sfFeed}};
  std::set<std::string> seen;
  std::vector<TSiteFile> files;
  for (const std::string& entry : fileList) {
    TSiteFile file;
    file.Name = ExtractFileName(entry);
    file.Path = folder + file.Name;
    if (file.Name.empty() || !seen.insert(file.Name).second || !FileExists(file.Path)) continue;
    file.Size = FileSizeOf(file.Path);
    if (const auto kind = kinds.find(file.Name); kind != kinds.end()) file.Kind = kind->second;
    files.push_back(std::move(file));
  }
  return files;
}

}  // namespace pagolin
