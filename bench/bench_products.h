// A products table file of realistic rows for the benchmarks: 25 categories, names, file names
// and an RTF description in each language. The same seed gives the same file every time.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/data/siteschema.h"
#include "core/platform/sqlitedb.h"

namespace pagolin::bench {

inline void Check(int rc, TSqliteDb& db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE) {
    std::fprintf(stderr, "sqlite: %s\n", db.ErrorMessage().c_str());
    std::exit(1);
  }
}

// Replaces file with a products table of `records` rows.
inline void CreateProducts(const std::string& file, int records) {
  std::filesystem::remove(file);
  TSqliteDb db;
  Check(db.Open(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), db);
  Check(db.Exec("BEGIN"), db);
  for (const std::string& sql : CreateTableStatements(ProductsTableDef())) Check(db.Exec(sql), db);
  TSqliteStmt ins;
  Check(ins.Prepare(db.Handle(), "INSERT INTO product VALUES (?,?,?,?,?,?,?)"), db);
  unsigned seed = 12345;
  auto rnd = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
  for (int i = 0; i < records; ++i) {
    const std::string n = std::to_string(rnd() % 1000000);
    ins.Reset();
    ins.BindText(1, "Product " + n);
    ins.BindText(2, "Category " + std::to_string(rnd() % 25));
    ins.BindText(3, "prod" + n + ".zip");
    ins.BindText(4, "prod" + n + ".gif");
    ins.BindText(5, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\plain\\f0\\fs20 A description of product " +
                        n + " that runs for a line or two, as descriptions do.\\par }");
    ins.BindText(6, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\plain\\f0\\fs20 Beschreibung von Produkt " +
                        n + " \\'fcber eine oder zwei Zeilen.\\par }");
    ins.BindInt(7, rnd() % 2);
    if (ins.Step() != SQLITE_DONE) Check(SQLITE_ERROR, db);
  }
  ins.Finalize();
  Check(db.Exec("COMMIT"), db);
}

}  // namespace pagolin::bench
