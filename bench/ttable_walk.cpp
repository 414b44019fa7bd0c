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

#include "bench_products.h"
#include "bench_timing.h"
#include "core/data/siteschema.h"
#include "core/platform/sqlitedb.h"
#include "core/platform/ttable.h"

using namespace pagolin;

using namespace pagolin::bench;

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
      Check(q.Prepare(db.Handle(),
                      "SELECT \"Name\", \"Category\", \"Include\" FROM product "
                      "ORDER BY \"Category\", rowid"),
            db);
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
