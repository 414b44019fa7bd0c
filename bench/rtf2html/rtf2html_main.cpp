// rtf2html FILE: writes the HTML of one rich text to standard output, converted as the page
// builder converts it (colours on, no wrapping).
// Exit status: 0 done, 2 usage or unreadable file, 3 the RTF header is missing, 1 write error.
#include "core/platform/hooks.h"
#include "core/rtf2html/parvel.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/stat.h>

namespace {

bool ReadWholeFile(const char* path, std::string& bytes) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  // One read into a string of the file's size; a file that grows meanwhile is read on.
  struct stat info {};
  if (fstat(fileno(f), &info) == 0 && info.st_size > 0) bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t have = std::fread(bytes.data(), 1, bytes.size(), f);
  bytes.resize(have);
  char buffer[1 << 16];
  while ((have = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, have);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: rtf2html FILE\n");
    return 2;
  }
  std::string rtf;
  if (!ReadWholeFile(argv[1], rtf)) {
    std::fprintf(stderr, "rtf2html: cannot read %s: %s\n", argv[1], std::strerror(errno));
    return 2;
  }

  bool headerMissing = false;
  pagolin::TMessageHooks hooks;
  hooks.showMessage = [&](const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    headerMissing = true;  // the converter's only message
  };
  pagolin::SetMessageHooks(hooks);

  pagolin::TParvel parvel;
  parvel.SetOptions({pagolin::TParvelOption::soUseColors});
  std::string html;
  parvel.ConvertRTF(std::move(rtf), html);
  if (headerMissing) return 3;

  if (std::fwrite(html.data(), 1, html.size(), stdout) != html.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "rtf2html: cannot write the output: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}
