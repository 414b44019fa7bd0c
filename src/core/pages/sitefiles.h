// The files a site consists of: the rule by which a build lists them (the build's FileList),
// the same list made without building, and the files of such a list that are present, which
// the upload archive and publishing take.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagolin {

class TDataModule2;
class TSettings;
class TTable;

// The files the current row of products brings to the site: its download file, then its
// screenshot, each when one is named, as paths in outputFolder (whether or not they exist).
void AddProductFiles(TTable& products, const std::string& outputFolder, std::vector<std::string>& fileList);
// The image of the current row of links, when one is named.
void AddLinkFiles(TTable& links, const std::string& outputFolder, std::vector<std::string>& fileList);

// The list a complete build would make, in its order (the home page, the language 2 page and
// its feed, the files of the included products and links, the language 1 page and its feed, the
// sitemap; feeds and sitemap with a site address), without building: no page is written, no
// text converted. Walks the product and link tables and puts them back on their
// records. Errors of the tables propagate (EDatabaseError).
std::vector<std::string> SiteFileList(TDataModule2& dataModule, const TSettings& settings);

// The folder in which the upload list looks for the files: the output folder with the FTP
// method or without an archive name, the upload archive's folder otherwise.
std::string UploadFolder(const TSettings& settings);

// Where a file stands among the files that link to each other, which decides the order they go
// to the server in: a file before those that link to it.
enum class TSiteFileKind {
  sfOther,         // downloads and images
  sfLanguagePage,  // the pages of the two languages
  sfTitlePage,     // the home page, which links to the language pages
  sfFeed           // the feeds and the sitemap, which link to the pages
};

// A file of the site that is present in the upload folder.
struct TSiteFile {
  std::string Name;  // the file name (the file system's bytes)
  std::string Path;  // the full path
  std::int64_t Size = 0;
  TSiteFileKind Kind = TSiteFileKind::sfOther;
  friend bool operator==(const TSiteFile&, const TSiteFile&) = default;
};

// The files of fileList that are present in the upload folder, each name once, in the order
// of the list, each with its kind.
std::vector<TSiteFile> PresentFiles(const std::vector<std::string>& fileList, const TSettings& settings);

}  // namespace pagolin
