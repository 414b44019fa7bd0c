// A products table shown in TDBGrid beside Qt's own QSqlQueryModel + QTableView on the same file,
// in one run, offscreen: the time to show the first screen (from opening the file to the
// painted screen), to reach the last row with Ctrl+End (the query model has to fetch every row
// before it has a last one), and to page down 1,000 times from the top, painting each screen;
// and the heap each holds afterwards, for 1,000 rows and for RECORDS rows. Times are medians
// of RUNS runs; the first screens are measured in runs of their own, and each pair of runs
// takes turns at going first, so that neither always follows the other's freeing of memory.
//
// usage: grid_scroll [RECORDS] [RUNS]   (defaults: 100000, 5)
//        grid_scroll --once [RECORDS]   one pass of each, for counting instructions under
//                                       callgrind: each phase ends with a dump named after it
#include <malloc.h>
#include <stdlib.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_DUMP_STATS_AT(name)
#endif

#include "bench_products.h"
#include "bench_timing.h"
#include "core/data/siteschema.h"
#include "gui/widgets/dbgrid.h"

using namespace pagolin;
using namespace pagolin::bench;

namespace {

constexpr int kPageDowns = 1000;
constexpr int kWidth = 800, kHeight = 600;
constexpr int kColumnWidths[] = {163, 160, 130, 130};
const char* const kQueryConnection = "bench";

long long HeapBytes() { return static_cast<long long>(mallinfo2().uordblks); }

void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &press);
}

// The view is painted to a picture, as the screen would be.
void Paint(QWidget* w) { (void)w->grab(); }

void Show(QTableView* view, int rowHeight) {
  view->verticalHeader()->setDefaultSectionSize(rowHeight);
  view->resize(kWidth, kHeight);
  view->show();
  Paint(view);
}

void PageDowns(QTableView* view) {
  for (int i = 0; i < kPageDowns; ++i) {
    Key(view, Qt::Key_PageDown);
    Paint(view);
  }
}

// ---- the two sides ---------------------------------------------------------------------------

struct TGridSide {
  std::unique_ptr<TTable> table;
  std::unique_ptr<TDataSource> source;
  std::unique_ptr<TDBGrid> grid;
  QTableView* View() const { return grid.get(); }
};

void GridFirstScreen(TGridSide& s, const std::string& folder, int rowHeight) {
  s.table = std::make_unique<TTable>(ProductsTableDef());
  s.table->SetDatabasePath(folder);
  s.table->SetIndexName("byCategory");
  s.source = std::make_unique<TDataSource>(s.table.get());
  s.table->Open();
  s.grid = std::make_unique<TDBGrid>();
  s.grid->AddColumn("Name", QStringLiteral("Product Name"), kColumnWidths[0]);
  s.grid->AddColumn("Category", QStringLiteral("Product Category"), kColumnWidths[1]);
  s.grid->AddColumn("Download Area Filename", {}, kColumnWidths[2]);
  s.grid->AddColumn("Screenshot", {}, kColumnWidths[3]);
  s.grid->SetDataSource(s.source.get());
  Show(s.grid.get(), rowHeight);
}

void GridLastRow(TGridSide& s) {
  Key(s.grid.get(), Qt::Key_End, Qt::ControlModifier);
  Paint(s.grid.get());
}

void GridPageDowns(TGridSide& s) { PageDowns(s.grid.get()); }

struct TQuerySide {
  std::unique_ptr<QSqlQueryModel> model;
  std::unique_ptr<QTableView> view;
  QTableView* View() const { return view.get(); }
  ~TQuerySide() {
    view.reset();
    model.reset();
    QSqlDatabase::removeDatabase(QString::fromLatin1(kQueryConnection));
  }
};

void QueryFirstScreen(TQuerySide& s, const std::string& folder, int rowHeight) {
  QSqlDatabase db =
      QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QString::fromLatin1(kQueryConnection));
  db.setDatabaseName(QString::fromStdString(folder + ProductsTableDef().fileName));
  if (!db.open()) {
    std::fprintf(stderr, "QSQLITE cannot open the table (is libqt6sql6-sqlite installed?)\n");
    std::exit(1);
  }
  s.model = std::make_unique<QSqlQueryModel>();
  s.model->setQuery(QSqlQuery(QStringLiteral("SELECT \"Name\", \"Category\", \"Download Area Filename\", "
                                             "\"Screenshot\" FROM product ORDER BY \"Category\", rowid"),
                              db));
  s.view = std::make_unique<QTableView>();
  s.view->verticalHeader()->hide();
  s.view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  s.view->setModel(s.model.get());
  for (int c = 0; c < 4; ++c) s.view->setColumnWidth(c, kColumnWidths[c]);
  s.view->setCurrentIndex(s.model->index(0, 0));  // where the grid starts too: on the first row
  Show(s.view.get(), rowHeight);
}

// The query model knows only the rows it has fetched: it fetches all of them to have a last.
void QueryLastRow(TQuerySide& s) {
  while (s.model->canFetchMore()) s.model->fetchMore();
  Key(s.view.get(), Qt::Key_End, Qt::ControlModifier);
  Paint(s.view.get());
}

void QueryPageDowns(TQuerySide& s) { PageDowns(s.view.get()); }

// ---- runs ----------------------------------------------------------------------------------

struct TFigures {
  double firstScreen = 0, lastRow = 0, pageDowns = 0;
  long long heapKB = 0;
  int lastRowShown = -1, rowAfterPaging = -1;
};

// Times one phase; under callgrind its instructions go into a dump named "<side> <phase>".
template <typename F>
double Phase(const std::string& name, F&& phase) {
  CALLGRIND_ZERO_STATS;
  const auto a = Clock::now();
  phase();
  const double ms = Ms(a, Clock::now());
  CALLGRIND_DUMP_STATS_AT(name.c_str());
  return ms;
}

// One side, from nothing: the first screen, then (scroll) Ctrl+End, Ctrl+Home and the page
// downs, and the heap it holds then.
template <typename Side, typename First, typename Last, typename Pages>
TFigures Run(const char* name, First first, Last last, Pages pages, const std::string& folder, int rowHeight,
             bool scroll) {
  TFigures f;
  const long long heap = HeapBytes();
  const std::string side = name;
  Side s;
  f.firstScreen = Phase(side + " FirstScreen", [&] { first(s, folder, rowHeight); });
  if (!scroll) return f;
  f.lastRow = Phase(side + " LastRow", [&] { last(s); });
  f.lastRowShown = s.View()->currentIndex().row();
  Key(s.View(), Qt::Key_Home, Qt::ControlModifier);
  Paint(s.View());
  f.pageDowns = Phase(side + " PageDowns", [&] { pages(s); });
  f.rowAfterPaging = s.View()->currentIndex().row();
  f.heapKB = (HeapBytes() - heap) / 1024;
  return f;
}

TFigures RunGrid(const std::string& folder, int rowHeight, bool scroll) {
  return Run<TGridSide>("Grid", GridFirstScreen, GridLastRow, GridPageDowns, folder, rowHeight, scroll);
}

TFigures RunQuery(const std::string& folder, int rowHeight, bool scroll) {
  return Run<TQuerySide>("Query", QueryFirstScreen, QueryLastRow, QueryPageDowns, folder, rowHeight, scroll);
}

struct TMedians {
  TFigures grid, query;
};

TMedians Measure(const std::string& folder, int runs, int rowHeight) {
  std::vector<double> g[3], q[3];
  TMedians m;
  for (const bool scroll : {false, true}) {
    for (int r = 0; r < runs; ++r) {
      if (r % 2 == 0) m.grid = RunGrid(folder, rowHeight, scroll);
      m.query = RunQuery(folder, rowHeight, scroll);
      if (r % 2 == 1) m.grid = RunGrid(folder, rowHeight, scroll);
      if (!scroll) {
        g[0].push_back(m.grid.firstScreen);
        q[0].push_back(m.query.firstScreen);
      } else {
        g[1].push_back(m.grid.lastRow), g[2].push_back(m.grid.pageDowns);
        q[1].push_back(m.query.lastRow), q[2].push_back(m.query.pageDowns);
      }
    }
  }
  m.grid.firstScreen = Median(g[0]), m.grid.lastRow = Median(g[1]), m.grid.pageDowns = Median(g[2]);
  m.query.firstScreen = Median(q[0]), m.query.lastRow = Median(q[1]), m.query.pageDowns = Median(q[2]);
  return m;
}

std::string MakeFolder(int records) {
  char tmpl[] = "/tmp/pagolin_grid_bench_XXXXXX";
  if (!mkdtemp(tmpl)) std::exit(1);
  const std::string folder = std::string(tmpl) + "/";
  CreateProducts(folder + ProductsTableDef().fileName, records);
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const bool once = argc > 1 && std::strcmp(argv[1], "--once") == 0;
  const int records = argc > 1 + once ? std::atoi(argv[1 + once]) : 100000;
  const int runs = !once && argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::string small = MakeFolder(1000), large = MakeFolder(records);
  const int rowHeight = TDBGrid().verticalHeader()->defaultSectionSize();

  Measure(small, 1, rowHeight);  // fonts, style and driver loaded before anything counts
  int status = 0;
  if (once) {
    RunGrid(large, rowHeight, true);
    RunQuery(large, rowHeight, true);
  } else {
    const TMedians s = Measure(small, runs, rowHeight);
    const TMedians l = Measure(large, runs, rowHeight);
    std::printf("rows in the table %d; %d page downs end on row %d; medians of %d runs\n", records,
                kPageDowns, l.grid.rowAfterPaging + 1, runs);
    std::printf("                                      TDBGrid   QSqlQueryModel+QTableView\n");
    std::printf(
        "first screen                      %9.1f ms %9.1f ms   (target: grid < 50 ms, <= query model)\n",
        l.grid.firstScreen, l.query.firstScreen);
    std::printf(
        "Ctrl+End to the last row          %9.1f ms %9.1f ms   (query model: fetching every row first)\n",
        l.grid.lastRow, l.query.lastRow);
    std::printf("%d page downs                   %9.1f ms %9.1f ms\n", kPageDowns, l.grid.pageDowns,
                l.query.pageDowns);
    std::printf("heap held afterwards              %9lld KB %9lld KB\n", l.grid.heapKB, l.query.heapKB);
    std::printf("heap held with 1,000 rows         %9lld KB %9lld KB\n", s.grid.heapKB, s.query.heapKB);
    std::printf("growth from 1,000 rows            %9lld KB %9lld KB   (target: grid <= 5120 KB)\n",
                l.grid.heapKB - s.grid.heapKB, l.query.heapKB - s.query.heapKB);
    if (l.grid.lastRowShown != records - 1 || l.query.lastRowShown != records - 1 ||
        l.grid.rowAfterPaging != l.query.rowAfterPaging) {
      std::fprintf(stderr, "the two views did not show the same rows (last %d / %d, after paging %d / %d)\n",
                   l.grid.lastRowShown, l.query.lastRowShown, l.grid.rowAfterPaging, l.query.rowAfterPaging);
      status = 1;
    }
  }
  std::filesystem::remove_all(small);
  std::filesystem::remove_all(large);
  return status;
}
