// pagolin-newsite DIR [--sample]: prepares the five table files of a site in DIR (created when
// missing) with the starter codes, and with --sample a small bilingual sample site. A folder
// that already holds any of the five files is left untouched.
// pagolin-newsite DIR --import OLDFOLDER makes the old site in OLDFOLDER into a new site.
//
// The files are built under temporary names and renamed into place only when all five are
// complete, so a failure leaves no half-made site behind.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/data/siteschema.h"
#include "core/platform/datetime.h"
#include "core/platform/filenames.h"
#include "core/platform/sqlitedb.h"
#include "tools/newsite_content.h"
#include "tools/newsite_import.h"

namespace pagolin {
namespace {

const char kUsage[] = "usage: pagolin-newsite DIR [--sample | --import OLDFOLDER]\n";

const TFieldDef* FindFieldDef(const TTableDef& def, const std::string& name) {
  for (const TFieldDef& f : def.fields)
    if (f.name == name) return &f;
  return nullptr;
}

void InsertRows(TSqliteDb& db, const TTableDef& def, const std::vector<TNewSiteRow>& rows) {
  for (const TNewSiteRow& row : rows) {
    std::string names, params;
    for (const auto& [name, value] : row.fields) {
      if (!FindFieldDef(def, name))
        throw ENewSiteError("\"" + def.fileName + "\" has no field \"" + name + "\"");
      names += (names.empty() ? "" : ", ") + QuoteIdentifier(name);
      params += params.empty() ? "?" : ", ?";
    }
    if (names.empty()) continue;
    TSqliteStmt stmt;
    if (stmt.Prepare(db.Handle(), "INSERT INTO " + QuoteIdentifier(def.tableName) + " (" + names +
                                      ") VALUES (" + params + ")") != SQLITE_OK)
      throw ENewSiteError(db.ErrorMessage());
    int param = 1;
    for (const auto& [name, value] : row.fields) {
      const TFieldDef& field = *FindFieldDef(def, name);
      TDateTime dt = 0;
      if (value.empty()) {
        stmt.BindNull(param);
      } else if (field.kind == TFieldKind::fkLogical) {
        if (value != "1" && value != "0")
          throw ENewSiteError("\"" + name + "\" of \"" + def.fileName + "\" must be 1 or 0, not \"" + value +
                              "\"");
        stmt.BindInt(param, value == "1" ? 1 : 0);
      } else if (field.kind == TFieldKind::fkDateTime) {
        if (!StorageTextToDateTime(value, dt))
          throw ENewSiteError("\"" + name + "\" of \"" + def.fileName +
                              "\" is not a date \"YYYY-MM-DD HH:MM:SS\": \"" + value + "\"");
        stmt.BindText(param, value);
      } else {
        stmt.BindText(param, value);
      }
      ++param;
    }
    if (stmt.Step() != SQLITE_DONE) throw ENewSiteError(db.ErrorMessage());
  }
}

// Creates one table file with its rows, in one transaction.
void CreateTableFile(const std::string& fileName, const TTableDef& def,
                     const std::vector<TNewSiteRow>& rows) {
  TSqliteDb db;
  if (db.Open(fileName, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) != SQLITE_OK)
    throw ENewSiteError("cannot create \"" + fileName + "\": " + db.OpenError());
  if (db.Exec("BEGIN") != SQLITE_OK) throw ENewSiteError(db.ErrorMessage());
  for (const std::string& sql : CreateTableStatements(def))
    if (db.Exec(sql) != SQLITE_OK) throw ENewSiteError("\"" + fileName + "\": " + db.ErrorMessage());
  InsertRows(db, def, rows);
  if (db.Exec("COMMIT") != SQLITE_OK) throw ENewSiteError("\"" + fileName + "\": " + db.ErrorMessage());
}

std::vector<TNewSiteRow> RowsFor(const TTableDef& def, bool sample) {
  if (&def == &CodesTableDef()) return StarterCodes();
  if (!sample) return {};
  if (&def == &ProductsTableDef()) return SampleProducts();
  if (&def == &NewsTableDef()) return SampleNews();
  if (&def == &LinksTableDef()) return SampleLinks();
  if (&def == &NewsPostTableDef()) return SamplePostings();
  return {};
}

int Run(int argc, char** argv) {
  std::string dir, oldFolder;
  bool sample = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--sample") {
      sample = true;
    } else if (arg == "--import" && i + 1 < argc && oldFolder.empty()) {
      oldFolder = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      std::cerr << "pagolin-newsite: unknown option \"" << arg << "\"\n" << kUsage;
      return 2;
    } else if (dir.empty()) {
      dir = arg;
    } else {
      std::cerr << "pagolin-newsite: only one folder, please\n" << kUsage;
      return 2;
    }
  }
  if (dir.empty() || (sample && !oldFolder.empty())) {
    std::cerr << kUsage;
    return 2;
  }
  if (!oldFolder.empty()) return RunImport(dir, oldFolder);
  const std::string folder = IncludeTrailingPathDelimiter(dir);
  for (const TTableDef* def : SiteTableDefs()) {
    if (std::filesystem::exists(std::filesystem::path(folder + def->fileName))) {
      std::cerr << "pagolin-newsite: the folder \"" << folder << "\" already holds \"" << def->fileName
                << "\". An existing site is never overwritten; choose an empty folder.\n";
      return 1;
    }
  }
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(folder), ec);
  if (ec || !DirectoryExists(folder)) {
    std::cerr << "pagolin-newsite: cannot create the folder \"" << folder << "\": " << ec.message() << "\n";
    return 1;
  }
  std::vector<std::string> temps;
  const std::string tag = ".newsite-" + std::to_string(getpid()) + ".tmp";
  try {
    for (const TTableDef* def : SiteTableDefs()) {
      temps.push_back(folder + def->fileName + tag);
      std::remove(temps.back().c_str());
      CreateTableFile(temps.back(), *def, RowsFor(*def, sample));
    }
    const auto defs = SiteTableDefs();
    for (size_t i = 0; i < defs.size(); ++i) {
      if (std::rename(temps[i].c_str(), (folder + defs[i]->fileName).c_str()) != 0)
        throw ENewSiteError("cannot rename \"" + temps[i] + "\" to \"" + defs[i]->fileName + "\"");
      temps[i].clear();
    }
    if (sample) WriteSampleFiles(folder);
  } catch (const std::exception& e) {
    for (const std::string& t : temps)
      if (!t.empty()) std::remove(t.c_str());
    std::cerr << "pagolin-newsite: " << e.what() << "\n";
    return 1;
  }
  std::cout << "Prepared a " << (sample ? "sample site" : "new site") << " in \"" << folder << "\".\n";
  return 0;
}

}  // namespace
}  // namespace pagolin

int main(int argc, char** argv) { return pagolin::Run(argc, argv); }
