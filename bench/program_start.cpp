// The program's start on a large site beside the start of an empty QMainWindow, in one run,
// offscreen: the time from starting the process to the first paint of the products grid (of
// the empty window), medians of RUNS starts, taking turns. The site has 10,000 rows in each
// table (the codes are the starter set plus generated ones, one in a hundred a variable).
//
// usage: program_start [RUNS] [ROWS]   (defaults: 10, 10000)
//        program_start --child program SITE | --child empty   one start, used by the above:
//                                       prints "painted" at the first paint and ends
//        program_start --make-site SITE [ROWS]   only makes the site
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_products.h"
#include "bench_timing.h"
#include "core/net/ip_misc.h"
#include "core/platform/sqlitedb.h"
#include "gui/app/contenttabs.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/application.h"

extern char** environ;

using namespace pagolin;
using namespace pagolin::bench;

namespace {

// Tells the parent at the first paint of the widget, once that paint is done, and ends.
class TFirstPaint : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      QTimer::singleShot(0, [] {
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
        std::_Exit(0);  // the start is what is measured, not the end
      });
    }
    return false;
  }
};

int Child(int argc, char** argv) {
  const bool program = std::strcmp(argv[2], "program") == 0;
  TFirstPaint watcher;
  if (!program) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QMainWindow window;
    window.installEventFilter(&watcher);
    window.showMaximized();
    return app.exec();
  }
  // As main() starts the window.
  TApplication app(argc, argv);
  StartNetwork();
  QApplication::setStyle(QStringLiteral("Fusion"));
  InstallQtMessageHooks();
  TProgram started(argv[3]);
  started.Form1().tbsProducts->DBGrid2->viewport()->installEventFilter(&watcher);
  started.Form1().ShowMaximised();
  return app.exec();
}

void Sql(TSqliteDb& db, const std::string& sql) {
  if (db.Exec(sql) != SQLITE_OK) {
    std::fprintf(stderr, "sqlite: %s\n", db.ErrorMessage().c_str());
    std::exit(1);
  }
}

// rows rows in each table of a site made by pagolin-newsite.
void MakeSite(const std::string& site, int rows) {
  std::filesystem::create_directories(site);
  if (std::system((std::string(PAGOLIN_NEWSITE) + " '" + site + "' >/dev/null").c_str()) != 0) std::exit(1);
  CreateProducts(site + "product.DB", rows);
  const std::string series = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                             std::to_string(rows) + ") ";
  const std::string rtf =
      "'{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\plain\\f0\\fs20 Text ' || i || '.\\par }'";
  struct Fill {
    const char* file;
    std::string sql;
  };
  const Fill fills[] = {
      {"news.db",
       "INSERT INTO news SELECT datetime('2026-01-01', '-' || i || ' hours'), 'News ' || i, "
       "'Neues ' || i, " +
           rtf + ", " + rtf + ", i % 2 FROM n"},
      {"links.db",
       "INSERT INTO links SELECT 'Category ' || (i % 25), 'Link ' || i, 'https://example.org/' || i, "
       "'link' || i || '.gif', " +
           rtf + ", " + rtf + ", i % 2 FROM n"},
      {"codes.db",
       "INSERT INTO codes SELECT 'CODE' || i, CASE WHEN i % 100 = 0 THEN 'Variable' ELSE 'Data' END, "
       "'<P>' || i || '</P>', 'Code ' || i, 'Kode ' || i FROM n WHERE i > (SELECT count(*) FROM codes)"},
      {"newspost.db",
       "INSERT INTO newspost SELECT i % 2, NULL, 'Posting ' || i, 'local.test', 'Body ' || i FROM n"},
  };
  for (const Fill& f : fills) {
    TSqliteDb db;
    if (db.Open(site + f.file, SQLITE_OPEN_READWRITE) != SQLITE_OK) std::exit(1);
    Sql(db, series + f.sql);
  }
}

// Starts this program as a child and returns the milliseconds until it reported its paint.
double TimeStart(const char* self, const std::vector<std::string>& args) {
  int fds[2];
  if (pipe(fds) != 0) std::exit(1);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  std::vector<char*> argv{const_cast<char*>(self)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ) != 0) std::exit(1);
  close(fds[1]);
  char line[32] = {};
  const ssize_t got = read(fds[0], line, sizeof line - 1);
  const Clock::time_point end = Clock::now();
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  if (got <= 0 || std::strncmp(line, "painted", 7) != 0) {
    std::fprintf(stderr, "the child did not paint\n");
    std::exit(1);
  }
  return Ms(start, end);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) return Child(argc, argv);
  if (argc >= 3 && std::strcmp(argv[1], "--make-site") == 0) {
    MakeSite(argv[2], argc > 3 ? std::atoi(argv[3]) : 10000);
    return 0;
  }
  const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
  const int rows = argc > 2 ? std::atoi(argv[2]) : 10000;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  char folder[] = "/tmp/program-start-XXXXXX";
  if (!mkdtemp(folder)) return 1;
  const std::string site = std::string(folder) + "/";
  MakeSite(site, rows);

  std::vector<double> program, empty;
  for (int i = 0; i < runs; ++i) {
    // Taking turns at going first.
    if (i % 2 == 0) empty.push_back(TimeStart(argv[0], {"--child", "empty"}));
    program.push_back(TimeStart(argv[0], {"--child", "program", site}));
    if (i % 2 == 1) empty.push_back(TimeStart(argv[0], {"--child", "empty"}));
  }
  std::filesystem::remove_all(folder);
  std::printf("start to first paint, median of %d, ms     program (%d rows per table)   empty QMainWindow\n",
              runs, rows);
  std::printf("%-42s %12.1f %22.1f\n", "", Median(program), Median(empty));
  std::printf("%-42s %12.2f\n", "program / empty", Median(program) / Median(empty));
  return 0;
}
