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

std::string HtmlTextOnItsOwn(const std::string& text) {
  if (text.starts_with("{") && !text.starts_with("{\\rtf1")) return text;
  TParvel converter;
  converter.SetOptions({TParvelOption::soUseColors});
  return HtmlText(converter, text);
}

}  // namespace pagolin
