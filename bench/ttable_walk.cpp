// Opening a 100,000-record table and walking it in index order reading three fields per
// record with TTable, side by side with a plain sqlite3 "SELECT ... ORDER BY" loop over the
// same file. Prints both figures and the ratio (each the median of several runs).
//
// usage: ttable_walk [RECORDS] [FOLDER]   (defaults: 100000, a new temporary folder)
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "core/data/siteschema.h"
#include "core/platform/sqlitedb.h"
#include "core/platform/ttable.h"

using namespace pagolin;

namespace {

using namespace pagolin::bench;

void Check(int rc, TSqliteDb& db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE) {
    std::fprintf(stderr, "sqlite: %s\n", db.ErrorMessage().c_str());
    std::exit(1);
  }
}

// A products table with realistic rows: 25 categories, names, an RTF description each.
void CreateProducts(const std::string& file, int records) {
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
    ins.BindText(5, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\plain\\f0\\fs20 A description of product " + n +
                        " that runs for a line or two, as descriptions do.\\par }");
    ins.BindText(6, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\plain\\f0\\fs20 Beschreibung von Produkt " + n +
                        " \\'fcber eine oder zwei Zeilen.\\par }");
    ins.BindInt(7, rnd() % 2);
    if (ins.Step() != SQLITE_DONE) Check(SQLITE_ERROR, db);
  }
  ins.Finalize();
  Check(db.Exec("COMMIT"), db);
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  std::string folder = argc > 2 ? argv[2] : "";
  bool ownFolder = false;
  if (folder.empty()) {
    char tmpl[] = "/tmp/pagolin_bench_XXXXXX";
    if (!mkdtemp(tmpl)) return 1;
    folder = tmpl;
    ownFolder = true;
  }
  folder += "/";
  const std::string file = folder + ProductsTableDef().fileName;
  CreateProducts(file, records);
  const int runs = 7;

  std::vector<double> open, walk, plainOpen, plain;
  size_t sumTable = 0, sumPlain = 0;
  for (int r = 0; r < runs; ++r) {
    {
      TTable t(ProductsTableDef());
      t.SetDatabasePath(folder);
      t.SetIndexName("byCategory");
      auto a = Clock::now();
      t.Open();
      auto b = Clock::now();
      TField& name = t.FieldByName("Name");
      TField& category = t.FieldByName("Category");
      TField& include = t.FieldByName("Include");
      size_t sum = 0;
      for (t.First(); !t.Eof(); t.Next())
        sum += name.AsString().size() + category.AsString().size() + (include.AsBoolean() ? 1 : 0);
      auto c = Clock::now();
      open.push_back(Ms(a, b));
      walk.push_back(Ms(b, c));
      sumTable = sum;
    }
    {
      auto a = Clock::now();
      TSqliteDb db;
      Check(db.Open(file, SQLITE_OPEN_READWRITE), db);
      auto b = Clock::now();
      TSqliteStmt q;
      Check(q.Prepare(db.Handle(), "SELECT \"Name\", \"Category\", \"Include\" FROM product "
                                   "ORDER BY \"Category\", rowid"), db);
      size_t sum = 0;
      while (q.Step() == SQLITE_ROW) {
        sum += static_cast<size_t>(sqlite3_column_bytes(q.Handle(), 0)) +
               static_cast<size_t>(sqlite3_column_bytes(q.Handle(), 1));
        sqlite3_column_text(q.Handle(), 0);
        sqlite3_column_text(q.Handle(), 1);
        sum += sqlite3_column_int(q.Handle(), 2) ? 1 : 0;
      }
      auto c = Clock::now();
      plainOpen.push_back(Ms(a, b));
      plain.push_back(Ms(b, c));
      sumPlain = sum;
    }
  }
  if (sumTable != sumPlain) {
    std::fprintf(stderr, "the two walks read different data (%zu vs %zu)\n", sumTable, sumPlain);
    return 1;
  }
  const double w = Median(walk), p = Median(plain), o = Median(open);
  std::printf("records                                  %d\n", records);
  std::printf("TTable open (order of byCategory)        %8.1f ms   (target <= 100 ms)\n", o);
  std::printf("plain sqlite3_open_v2                    %8.1f ms\n", Median(plainOpen));
  std::printf("TTable walk, 3 fields per record         %8.1f ms\n", w);
  std::printf("plain SELECT ... ORDER BY loop           %8.1f ms\n", p);
  std::printf("walk ratio TTable / plain                %8.2f     (target <= 3.00)\n", w / p);
  if (ownFolder) std::filesystem::remove_all(folder);
  return 0;
}
