#include "core/rtf2html/parvel.h"

#include "core/platform/hooks.h"
#include "core/rtf2html/parvel_scanner.h"

namespace pagolin {

void TParvel::ConvertRTF(std::string RTF, std::string& HTML) {
  if (RTF.compare(0, 6, "{\\rtf1") != 0) {
    ShowMessage("Parvel: RTF header is missing. Conversion aborted.");
    return;
  }

  plainSeen_ = false;
  colors_.assign(1, std::string());
  HTML.clear();
  HTML.reserve(RTF.size() + RTF.size() / 4);  // fragments run about as long as the rich text
  // ColorIndex keeps its value: a colour left open last time is closed by the first "plain".

  bool goOn;
  {
    TParvelScanner scanner(*this, RTF, HTML);
    goOn = scanner.Scan();
  }  // the font list of this conversion goes with the scanner

  if (options_.Contains(TParvelOption::soWrapHTML)) {
    std::string head = "<HTML><HEAD>";
    if (options_.Contains(TParvelOption::soUseTitle)) head += "<TITLE>" + EncodeTitle(title_) + "</TITLE>";
    for (const std::string& line : headtags_) head += line + "\r\n";
    head += "</HEAD><BODY>";
    HTML.insert(0, head);
    HTML += "</BODY></HTML>";
  }

  if (goOn && onProgress_) {
    const TProgressEvent progress = onProgress_;
    progress(*this, 100, goOn);
  }
}

}  // namespace pagolin
