// rtfdoc [--text] FILE: reads a rich text into the rich editor's document model and writes to
// standard output the RTF that writing it back gives, or with --text its plain text
// (paragraphs separated by CR LF).
// Exit status: 0 done, 2 usage or unreadable file, 3 the file is not RTF, 1 write error.
#include "core/platform/filenames.h"
#include "core/richtext/rtfreader.h"
#include "core/richtext/rtfwriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  const bool text = argc == 3 && std::strcmp(argv[1], "--text") == 0;
  if (argc != 2 && !text) {
    std::fprintf(stderr, "usage: rtfdoc [--text] FILE\n");
    return 2;
  }
  const char* file = argv[argc - 1];
  std::string bytes, error;
  if (!pagolin::ReadWholeFile(file, bytes, error)) {
    std::fprintf(stderr, "rtfdoc: %s\n", error.c_str());
    return 2;
  }
  if (!pagolin::IsRtf(bytes)) {
    std::fprintf(stderr, "rtfdoc: %s is not RTF (it does not start with {\\rtf)\n", file);
    return 3;
  }
  const pagolin::TRichDoc doc = pagolin::ReadRtf(bytes);
  const std::string out = text ? pagolin::PlainText(doc) : pagolin::WriteRtf(doc);
  if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "rtfdoc: cannot write the output: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}
