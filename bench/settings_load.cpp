// Reading settings files with many signature lines: TSettings::LoadSettings beside reading the
// same bytes and splitting them into lines (the least any reader does), for files of growing
// size, so that the time per megabyte shows whether loading stays linear. Times are processor
// time (the best of three runs), which a busy machine disturbs far less than wall time.
//
// usage: settings_load [FOLDER]   (a scratch folder; default: the system's temporary folder)
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/data/settings.h"
#include "core/platform/filenames.h"

namespace {

using namespace pagolin;
// Processor time of this process, in milliseconds.
double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// A settings file whose first signature has `lines` lines and claims two billion.
std::string SettingsText(int lines) {
  std::string text = "[Settings]\r\nWWWHomepageFile=index.htm\r\n[News]\r\nServer=news.example.com\r\n";
  text += "SignatureLines1=2000000000\r\n";
  for (int n = 1; n <= lines; ++n)
    text += "Signature1_" + std::to_string(n) + "=Line " + std::to_string(n) +
            " of a long signature, "
            "with some text in it.\r\n";
  return text + "[Identification]\r\nEMailAddress=me@example.com\r\n";
}

double LoadMs(const std::string& folder) {
  double best = 1e300;
  for (int i = 0; i < 3; ++i) {
    TSettings settings(folder);
    std::string error, warning;
    const double start = CpuMs();
    settings.LoadSettings(error, warning);
    best = std::min(best, CpuMs() - start);
  }
  return best;
}

double SplitMs(const std::string& file) {
  double best = 1e300;
  for (int i = 0; i < 3; ++i) {
    const double start = CpuMs();
    std::string text, error;
    ReadWholeFile(file, text, error);
    std::vector<std::string> lines;
    for (size_t at = 0, end; at < text.size(); at = end + 1) {
      end = text.find('\n', at);
      if (end == std::string::npos) end = text.size();
      lines.emplace_back(text, at, end - at);
    }
    best = std::min(best, CpuMs() - start);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path scratch =
      std::filesystem::path(argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string()) /
      "pagolin-settings-bench";
  std::filesystem::create_directories(scratch);
  const std::string folder = IncludeTrailingPathDelimiter(scratch.string());
  std::printf("%10s %8s %12s %12s %8s %12s\n", "lines", "MB", "load ms", "split ms", "ratio", "load ms/MB");
  for (int lines : {40000, 200000, 770000}) {
    const std::string text = SettingsText(lines);
    const std::string file = TSettings::SettingsFileName(folder);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    const double mb = static_cast<double>(text.size()) / 1e6;
    const double load = LoadMs(folder);
    const double split = SplitMs(file);
    std::printf("%10d %8.1f %12.1f %12.1f %7.1fx %12.1f\n", lines, mb, load, split, load / split, load / mb);
  }
  std::filesystem::remove_all(scratch);
  return 0;
}
