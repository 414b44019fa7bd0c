// richtext_bench [--runs N] FILE...: loads each rich text (RTF) into the rich editor and stores
// it back, beside Qt's own QTextDocument::setHtml and toHtml on the HTML of the same content
// (the HTML the editor's document gives), in one run. Prints the best of N runs of each step,
// wall and CPU time, and the ratios the targets are stated in:
//   reader + bridge (TRichEdit::LoadText)  <= 1.5 x setHtml
//   bridge + writer (TRichEdit::StoredText after an edit) <= 1.5 x toHtml
//   core reader alone (ReadRtf) >= 50 MB/s
// Run with QT_QPA_PLATFORM=offscreen; bench/richtext/compare makes the documents.
#include "bench_timing.h"
#include "core/platform/filenames.h"
#include "core/richtext/rtfreader.h"
#include "gui/widgets/richedit.h"

#include <QApplication>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

using pagolin::bench::Clock;
using pagolin::bench::Ms;

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct TTiming {
  double wall = 1e300;
  double cpu = 1e300;
};

// The best wall and CPU time of runs calls of step (each after prepare, which is not timed).
TTiming Best(int runs, const std::function<void()>& prepare, const std::function<void()>& step) {
  TTiming best;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const double cpu0 = CpuMs();
    const auto wall0 = Clock::now();
    step();
    const auto wall1 = Clock::now();
    best.wall = std::min(best.wall, Ms(wall0, wall1));
    best.cpu = std::min(best.cpu, CpuMs() - cpu0);
  }
  return best;
}

void Row(const char* what, double mb, const TTiming& t) {
  std::printf("  %-34s %9.1f ms wall %9.1f ms cpu %8.1f MB/s\n", what, t.wall, t.cpu, mb / (t.cpu / 1e3));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int runs = 3;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
      runs = std::max(1, std::atoi(argv[++i]));
    else
      files.emplace_back(argv[i]);
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: richtext_bench [--runs N] FILE...\n");
    return 2;
  }
  std::printf("Best of %d runs; MB/s from CPU time. Ratios: ours / Qt's, target <= 1.5.\n", runs);
  for (const std::string& file : files) {
    std::string rtf, error;
    if (!pagolin::ReadWholeFile(file, rtf, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 2;
    }
    const double mb = static_cast<double>(rtf.size()) / 1e6;
    std::printf("%s: %.1f MB of RTF\n", file.c_str(), mb);

    const TTiming reader = Best(
        runs, [] {}, [&] { (void)pagolin::ReadRtf(rtf).Paragraphs.size(); });

    pagolin::TRichEdit editor;
    const TTiming load = Best(
        runs, [&] { editor.LoadText({}); }, [&] { editor.LoadText(rtf); });
    std::string stored;
    const TTiming store = Best(
        runs, [&] { editor.document()->setModified(true); }, [&] { stored = editor.StoredText(); });
    const QString html = editor.document()->toHtml();

    QTextEdit qt;
    const TTiming setHtml = Best(
        runs, [&] { qt.document()->clear(); }, [&] { qt.document()->setHtml(html); });
    QString back;
    const TTiming toHtml = Best(
        runs, [] {}, [&] { back = qt.document()->toHtml(); });

    Row("core reader (ReadRtf)", mb, reader);
    Row("reader + bridge (LoadText)", mb, load);
    Row("QTextDocument::setHtml", mb, setHtml);
    Row("bridge + writer (StoredText)", mb, store);
    Row("QTextDocument::toHtml", mb, toHtml);
    std::printf("  load / setHtml:  wall %.2fx  cpu %.2fx\n", load.wall / setHtml.wall,
                load.cpu / setHtml.cpu);
    std::printf("  store / toHtml:  wall %.2fx  cpu %.2fx\n", store.wall / toHtml.wall,
                store.cpu / toHtml.cpu);
    std::printf("  sizes: RTF %zu, stored %zu, HTML %lld characters\n\n", rtf.size(), stored.size(),
                static_cast<long long>(html.size()));
    std::fflush(stdout);
  }
  return 0;
}
