#include "core/pages/htmltext.h"

#include "core/platform/htmlentities.h"
#include "core/rtf2html/parvel.h"

namespace pagolin {

std::string HtmlText(TParvel& converter, const std::string& text) {
  if (text.empty() || text[0] != '{') return EscapeHtml(text, true);
  std::string html = text;
  converter.ConvertRTF(text, html);
  return html;
}

}  // namespace pagolin
