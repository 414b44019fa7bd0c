#include "core/data/publishedfiles.h"

#include "core/platform/filenames.h"
#include "core/platform/sqlitedb.h"

namespace pagolin {
namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS published (\"URL\" TEXT NOT NULL, \"Name\" TEXT NOT NULL, "
    "\"Size\" INTEGER NOT NULL, \"SHA256\" TEXT NOT NULL, PRIMARY KEY (\"URL\", \"Name\"))";
constexpr int kBusyTimeoutMs = 5000;

}  // namespace

struct TPublishedFiles::TImpl {
  TSqliteDb db;
};

TPublishedFiles::TPublishedFiles(const std::string& siteFolder)
    : fileName_(IncludeTrailingPathDelimiter(siteFolder) + kFileName), impl_(std::make_unique<TImpl>()) {}

TPublishedFiles::~TPublishedFiles() = default;

bool TPublishedFiles::Open(bool create) {
  if (impl_->db.IsOpen()) return true;
  if (!create && !FileExists(fileName_)) return false;
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  if (impl_->db.Open(fileName_, flags) != SQLITE_OK)
    throw EDatabaseError("The list of published files \"" + PathText(fileName_) +
                         "\" cannot be opened: " + impl_->db.OpenError());
  sqlite3_busy_timeout(impl_->db.Handle(), kBusyTimeoutMs);
  // A commit per file: the write-ahead log makes that cheap, and an interrupted publish loses
  // at most records, which only makes the next publish send those files again.
  if (impl_->db.Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;") != SQLITE_OK ||
      impl_->db.Exec(kSchema) != SQLITE_OK) {
    const std::string reason = impl_->db.ErrorMessage();
    impl_->db.Close();
    throw EDatabaseError("The list of published files \"" + PathText(fileName_) +
                         "\" cannot be used: " + reason);
  }
  return true;
}

std::map<std::string, TPublishedFile> TPublishedFiles::ForUrl(const std::string& url) {
  std::map<std::string, TPublishedFile> files;
  if (!Open(false)) return files;
  TSqliteStmt stmt;
  if (stmt.Prepare(impl_->db.Handle(),
                   "SELECT \"Name\", \"Size\", \"SHA256\" FROM published WHERE \"URL\" = ?") != SQLITE_OK)
    throw EDatabaseError("The list of published files \"" + PathText(fileName_) +
                         "\" cannot be read: " + impl_->db.ErrorMessage());
  stmt.BindText(1, url);
  int rc = SQLITE_ROW;
  while ((rc = stmt.Step()) == SQLITE_ROW)
    files[stmt.ColumnText(0).value_or("")] = {stmt.ColumnInt(1), stmt.ColumnText(2).value_or("")};
  if (rc != SQLITE_DONE)
    throw EDatabaseError("The list of published files \"" + PathText(fileName_) +
                         "\" cannot be read: " + impl_->db.ErrorMessage());
  return files;
}

void TPublishedFiles::Change(const char* sql, const std::string& url, const std::string& name,
                             const TPublishedFile* file) {
  Open(true);
  TSqliteStmt stmt;
  int rc = stmt.Prepare(impl_->db.Handle(), sql);
  if (rc == SQLITE_OK) {
    stmt.BindText(1, url);
    stmt.BindText(2, name);
    if (file) {
      stmt.BindInt(3, file->Size);
      stmt.BindText(4, file->Sha256);
    }
    rc = stmt.Step();
  }
  if (rc != SQLITE_DONE && rc != SQLITE_OK)
    throw EDatabaseError("The list of published files \"" + PathText(fileName_) +
                         "\" cannot be written: " + impl_->db.ErrorMessage());
}

void TPublishedFiles::Record(const std::string& url, const std::string& name, const TPublishedFile& file) {
  Change("INSERT OR REPLACE INTO published (\"URL\", \"Name\", \"Size\", \"SHA256\") VALUES (?, ?, ?, ?)",
         url, name, &file);
}

void TPublishedFiles::Forget(const std::string& url, const std::string& name) {
  Change("DELETE FROM published WHERE \"URL\" = ? AND \"Name\" = ?", url, name, nullptr);
}

}  // namespace pagolin
