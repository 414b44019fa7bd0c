#include "core/data/company.h"

#include "core/data/siteschema.h"
#include "core/platform/filenames.h"
#include "core/platform/sqlitedb.h"
#include "core/platform/utf8.h"

namespace pagolin {

std::string CompanyName(const std::string& siteFolder) {
  const TTableDef& def = CodesTableDef();
  const std::string file = IncludeTrailingPathDelimiter(siteFolder) + def.fileName;
  if (!FileExists(file)) return {};
  try {
    TSqliteDb db;
    if (db.Open(file, SQLITE_OPEN_READONLY) != SQLITE_OK) return {};
    TSqliteStmt stmt;
    const std::string sql = "SELECT \"Description 1\" FROM " + QuoteIdentifier(def.tableName) +
                            " WHERE \"Type\" = 'Variable' AND \"Name\" = 'COMPANY' ORDER BY rowid LIMIT 1";
    if (stmt.Prepare(db.Handle(), sql) != SQLITE_OK || stmt.Step() != SQLITE_ROW) return {};
    return ValidUtf8(stmt.ColumnText(0).value_or(std::string()));
  } catch (const EDatabaseError&) {
    return {};  // a damaged or locked file: no name
  }
}

}  // namespace pagolin
