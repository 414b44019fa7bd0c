// TPublishedFiles: what earlier publishes put on the web server, kept in the site folder beside
// the five content tables ("publish.db", table "published"): for each file its name, size and
// SHA-256 and the URL of the folder it went to. Publishing compares the site's files with it
// so that only what changed travels, and removes only files it once put there.
//
// The file is the program's own bookkeeping: it is made on first use. Every change is
// committed at once, so that what went up stays recorded when a publish is stopped.
// Errors (a file that cannot be made, read or written) throw EDatabaseError naming the file.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "core/platform/dberror.h"

namespace pagolin {

struct TPublishedFile {
  std::int64_t Size = 0;
  std::string Sha256;  // 64 lower-case hex digits
  friend bool operator==(const TPublishedFile&, const TPublishedFile&) = default;
};

class TPublishedFiles {
 public:
  static constexpr const char* kFileName = "publish.db";

  // siteFolder: the folder of the site's tables, with or without its trailing delimiter.
  explicit TPublishedFiles(const std::string& siteFolder);
  ~TPublishedFiles();
  TPublishedFiles(const TPublishedFiles&) = delete;
  TPublishedFiles& operator=(const TPublishedFiles&) = delete;

  const std::string& FileName() const { return fileName_; }

  // The files published to url, by name (the file system's bytes); empty for a URL never
  // published to. A missing file holds nothing and is not made by reading.
  std::map<std::string, TPublishedFile> ForUrl(const std::string& url);
  // Records that name now lies at url with these facts (in place of what was recorded).
  void Record(const std::string& url, const std::string& name, const TPublishedFile& file);
  // Forgets name at url (removed from the server).
  void Forget(const std::string& url, const std::string& name);

 private:
  struct TImpl;
  // Opens the file, making it when create is set; false when it does not exist and create
  // is not set.
  bool Open(bool create);
  void Change(const char* sql, const std::string& url, const std::string& name, const TPublishedFile* file);

  std::string fileName_;
  std::unique_ptr<TImpl> impl_;
};

}  // namespace pagolin
