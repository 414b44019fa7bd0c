// Importing an old products table of 100,000 records with 2 KB memos (pagolin-newsite's
// import of a whole old site folder, the other four tables empty), side by side with the two
// parts no import can avoid, in one run:
//   - a bare loop reading every record with pxlib (PX_get_record);
//   - a bare loop inserting the same rows, already converted, into a new SQLite file of the
//     same schema in one transaction.
// Prints the median of several runs of each and the ratio of the import to their sum.
//
// usage: import_products [RECORDS] [MEMO_BYTES] [RUNS]   (defaults: 100000, 2100, 3)
extern "C" {
#include <paradox.h>
}

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "core/data/siteschema.h"
#include "core/import/siteimport.h"
#include "core/platform/codepage.h"
#include "core/platform/sqlitedb.h"
#include "support/paradoxwriter.h"

using namespace pagolin;
using namespace pagolin::bench;
namespace fs = std::filesystem;

namespace {

// The products and their fields as the old table holds them (Windows-1252).
std::vector<testing::TPxRecord> Products(int records, std::size_t memoBytes) {
  std::vector<testing::TPxRecord> rows;
  unsigned seed = 12345;
  auto rnd = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
  const std::string body = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\plain\\f0\\fs20 ";
  for (int i = 0; i < records; ++i) {
    const std::string n = std::to_string(rnd() % 1000000);
    std::string d1 = body + "Product " + n + " does what it says, quickly and well. ";
    std::string d2 = body + "Produkt " + n + " f\\'fchrt aus, was es verspricht: schnell und gr\xfcndlich. ";
    while (d1.size() < memoBytes) d1 += "More about product " + n + ", line by line. ";
    while (d2.size() < memoBytes)
      d2 +=
          "Mehr \xfc"
          "ber Produkt " +
          n + ", Zeile f\xfcr Zeile. ";
    d1.resize(memoBytes - 1);
    d2.resize(memoBytes - 1);
    rows.push_back({"Product " + n, "Category " + std::to_string(rnd() % 25), "prod" + n + ".zip",
                    "prod" + n + ".gif", d1 + "}", d2 + "}", std::string(rnd() % 2 ? "1" : "0")});
  }
  return rows;
}

std::vector<testing::TPxFieldSpec> Fields(const TTableDef& def) {
  std::vector<testing::TPxFieldSpec> fields;
  for (const TFieldDef& f : def.fields)
    fields.push_back({f.name,
                      f.kind == TFieldKind::fkMemo      ? pxfMemoBLOb
                      : f.kind == TFieldKind::fkLogical ? pxfLogical
                      : f.kind == TFieldKind::fkText    ? pxfAlpha
                                                        : pxfTimestamp,
                      f.kind == TFieldKind::fkMemo      ? 30
                      : f.kind == TFieldKind::fkLogical ? 1
                      : f.kind == TFieldKind::fkText    ? 80
                                                        : 8});
  return fields;
}

[[gnu::noinline]] double PxlibLoop(const std::string& db) {
  const auto t0 = Clock::now();
  pxdoc_t* doc = PX_new();
  if (PX_open_file(doc, db.c_str()) < 0) std::exit(1);
  std::string record(static_cast<std::size_t>(PX_get_recordsize(doc)), '\0');
  long bytes = 0;
  for (int r = 0; r < PX_get_num_records(doc); ++r)
    if (PX_get_record(doc, r, record.data())) bytes += record[0];
  PX_close(doc);
  PX_delete(doc);
  const auto t1 = Clock::now();
  if (bytes == -1) std::puts("");  // keeps the loop from being optimised away
  return Ms(t0, t1);
}

[[gnu::noinline]] double SqliteLoop(const std::string& file,
                                    const std::vector<std::vector<std::string>>& rows) {
  fs::remove(file);
  const auto t0 = Clock::now();
  TSqliteDb db;
  db.Open(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  db.Exec("BEGIN");
  for (const std::string& sql : CreateTableStatements(ProductsTableDef())) db.Exec(sql);
  TSqliteStmt ins;
  ins.Prepare(db.Handle(), "INSERT INTO product VALUES (?,?,?,?,?,?,?)");
  for (const auto& row : rows) {
    ins.Reset();
    for (int c = 0; c < 6; ++c) ins.BindText(c + 1, row[static_cast<std::size_t>(c)]);
    ins.BindInt(7, row[6] == "1");
    if (ins.Step() != SQLITE_DONE) std::exit(1);
  }
  ins.Finalize();
  db.Exec("COMMIT");
  db.Close();
  return Ms(t0, Clock::now());
}

[[gnu::noinline]] double Import(const std::string& old, const std::string& site) {
  fs::remove_all(site);
  const auto t0 = Clock::now();
  const TImportReport report = ImportSite(old, site);
  const auto t1 = Clock::now();
  if (!report.Complete()) {
    std::fputs(report.Text().c_str(), stderr);
    std::exit(1);
  }
  return Ms(t0, t1);
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::size_t memoBytes = argc > 2 ? static_cast<std::size_t>(std::atoi(argv[2])) : 2100;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
  const std::string root =
      (fs::temp_directory_path() / ("pagolin-import-bench-" + std::to_string(getpid()))).string() + "/";
  const std::string old = root + "old/";
  fs::create_directories(old);

  const std::vector<testing::TPxRecord> products = Products(records, memoBytes);
  for (const TTableDef* def : SiteTableDefs())
    testing::WriteParadoxTable(
        old + def->fileName, old + def->fileName.substr(0, def->fileName.find('.')) + ".MB", 1252,
        Fields(*def), def == &ProductsTableDef() ? products : std::vector<testing::TPxRecord>{});
  std::vector<std::vector<std::string>> converted;
  for (const auto& p : products) {
    converted.emplace_back();
    for (const auto& v : p) converted.back().push_back(AnsiToUtf8(*v));
  }
  std::printf("old products table: %d records, memos of %zu bytes; product.DB %.1f MB, product.MB %.1f MB\n",
              records, memoBytes, static_cast<double>(fs::file_size(old + "product.DB")) / 1e6,
              static_cast<double>(fs::file_size(old + "product.MB")) / 1e6);

  std::vector<double> imports, pxlib, sqlite;
  for (int run = 0; run < runs; ++run) {
    pxlib.push_back(PxlibLoop(old + "product.DB"));
    sqlite.push_back(SqliteLoop(root + "bare.db", converted));
    imports.push_back(Import(old, root + "site"));
  }
  const double i = Median(imports), p = Median(pxlib), s = Median(sqlite);
  std::printf("%-48s %10.1f ms\n", "pxlib: read every record (PX_get_record)", p);
  std::printf("%-48s %10.1f ms\n", "SQLite: insert the rows, one transaction", s);
  std::printf("%-48s %10.1f ms\n", "sum of the two", p + s);
  std::printf("%-48s %10.1f ms\n", "pagolin import (ImportSite)", i);
  std::printf("import / sum = %.2f (target: at most 1.5), median of %d runs\n", i / (p + s), runs);
  fs::remove_all(root);
  return 0;
}
