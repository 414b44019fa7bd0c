// Fuzz target of the converter. The first byte chooses how the input is converted:
//   bits 0-2  options (soUseColors, soUseTitle, soWrapHTML)
//   bit 3     put "{\rtf1" in front, so that most inputs get past the header check
//   bit 4     a progress handler that stops the conversion at the position in bits 5-7 (x10)
// The rest is the RTF. Each input is converted twice on the same instance (the colour number
// carries over) and the title helpers get the input as well.
#include "core/platform/hooks.h"
#include "core/rtf2html/parvel.h"
#include "core/rtf2html/parvel_scanner.h"
#include "support/naive.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using pagolin::TParvel;
using pagolin::TParvelOption;
using pagolin::TParvelOptions;
using pagolin::TParvelScanner;

namespace {

void Fail(const char* condition, int line) {
  std::fprintf(stderr, "parvel_fuzz.cpp:%d: check failed: %s\n", line, condition);
  std::abort();
}
#define Check(condition) ((condition) ? (void)0 : Fail(#condition, __LINE__))

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    pagolin::TMessageHooks hooks;
    hooks.showMessage = [](const std::string&) {};
    pagolin::SetMessageHooks(hooks);
    return true;
  }();
  (void)quiet;
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  std::string rtf(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (flags & 0x08) rtf.insert(0, "{\\rtf1");

  TParvel parvel;
  TParvelOptions options;
  if (flags & 0x01) options.Include(TParvelOption::soUseColors);
  if (flags & 0x02) options.Include(TParvelOption::soUseTitle);
  if (flags & 0x04) options.Include(TParvelOption::soWrapHTML);
  parvel.SetOptions(options);
  parvel.SetTitle(rtf.substr(0, 64));
  parvel.SetHeadtags({"<META NAME=\"x\">", ""});
  const int stopAt = ((flags >> 5) + 1) * 10;
  int last = 0;
  if (flags & 0x10) {
    parvel.SetOnProgress([&](TParvel&, std::int32_t position, bool& go) {
      Check(position > last && position <= 100);
      last = position;
      if (position >= stopAt) go = false;
    });
  }

  std::string html = "before";
  parvel.ConvertRTF(rtf, html);
  const bool hasHeader = rtf.compare(0, 6, "{\\rtf1") == 0;
  Check(hasHeader || html == "before");
  std::string again = html;
  last = 0;
  parvel.ConvertRTF(rtf, again);
  Check(hasHeader || again == "before");
  Check(!parvel.Colors().empty() || !hasHeader);

  // The scanner's shortcuts (runs of text copied at once, words read in place) must give
  // exactly what one character per iteration with a word buffer gives, also where the
  // progress handler stops the scan.
  {
    TParvel fast, slow;
    fast.SetOptions(options);
    slow.SetOptions(options);
    std::vector<int> fastCalls, slowCalls;
    auto stopper = [&](std::vector<int>& calls) {
      return [&calls, stopAt](TParvel&, std::int32_t position, bool& go) {
        calls.push_back(position);
        if (position >= stopAt) go = false;
      };
    };
    if (flags & 0x10) {
      fast.SetOnProgress(stopper(fastCalls));
      slow.SetOnProgress(stopper(slowCalls));
    }
    std::string fastHtml, slowHtml;
    TParvelScanner fastScan(fast, rtf, fastHtml, true);
    TParvelScanner slowScan(slow, rtf, slowHtml, false);
    Check(fastScan.Scan() == slowScan.Scan());
    Check(fastHtml == slowHtml && fastCalls == slowCalls);
    Check(fastScan.Fonts() == slowScan.Fonts() && fast.Colors() == slow.Colors());
  }

  // The title helpers on the same bytes: ReplaceAll must agree with the literal definition.
  const std::string title = rtf.substr(0, 256);
  const std::string encoded = TParvel::EncodeTitle(title);
  Check(encoded.find('<') == std::string::npos && encoded.find('>') == std::string::npos);
  if (rtf.size() >= 4) {
    const std::string search = rtf.substr(0, 1 + rtf[0] % 3);
    const std::string by = rtf.substr(1, rtf[1] % 4);
    const std::string text = rtf.substr(0, 300);
    // Small enough that ReplaceAll gives the rule's exact result wherever the rule ends in as
    // many steps.
    const auto naive = pagolin::test::SearchFromStart(text, search, by, static_cast<int>(text.size()) + 1);
    const std::string result = TParvel::ReplaceAll(text, search, by);
    if (by.find(search) == std::string::npos && naive) Check(result == *naive);
  }
  return 0;
}
