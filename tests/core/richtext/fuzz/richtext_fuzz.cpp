// Fuzz target of the rich-text reader and writer. The first byte chooses how the input is read:
//   bit 0  put a header with font and colour tables in front, so that most inputs are RTF
//   bit 1  read it as a stored text (RTF or plain text) instead of as RTF
// The rest is the text. Reading what the writer wrote must give the same document, writing
// that again the same bytes, and the converter must keep every letter and digit of the text.
#include "core/platform/hooks.h"
#include "core/richtext/rtfreader.h"
#include "core/richtext/rtfwriter.h"
#include "support/pagehtml.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Fail(const char* condition, int line) {
  std::fprintf(stderr, "richtext_fuzz.cpp:%d: check failed: %s\n", line, condition);
  std::abort();
}
#define Check(condition) ((condition) ? (void)0 : Fail(#condition, __LINE__))

bool WellFormed(const pagolin::TRichDoc& doc) {
  for (const auto& p : doc.Paragraphs)
    for (std::size_t i = 0; i < p.Runs.size(); ++i) {
      if (p.Runs[i].Text.empty() || p.Runs[i].Format.Face.empty()) return false;
      if (i > 0 && p.Runs[i].Format == p.Runs[i - 1].Format) return false;
    }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    pagolin::TMessageHooks hooks;
    hooks.showMessage = [](const std::string& text) { Fail(text.c_str(), __LINE__); };
    pagolin::SetMessageHooks(hooks);
    return true;
  }();
  (void)quiet;
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (flags & 0x01)
    text.insert(0, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Times;}}{\\colortbl;\\red255\\green0\\blue0;}");

  // Plain text keeps its control characters until an edit writes it as RTF.
  const bool plain = (flags & 0x02) && !pagolin::IsRtf(text);
  const pagolin::TRichDoc first = (flags & 0x02) ? pagolin::ReadStoredText(text) : pagolin::ReadRtf(text);
  Check(plain || WellFormed(first));
  const std::string written = pagolin::WriteRtf(first);
  const pagolin::TRichDoc second = pagolin::ReadRtf(written);
  Check(WellFormed(second));
  Check(plain || second == first);
  Check(pagolin::WriteRtf(second) == written);

  const std::string html = pagolin::test::PageHtml(written);
  Check(pagolin::test::HtmlAlnum(html) == pagolin::test::Alnum(pagolin::PlainText(second)));
  return 0;
}
