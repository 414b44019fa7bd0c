#include "core/richtext/richdoc.h"

#include "core/platform/utf8.h"

namespace pagolin {

std::string CleanFaceName(std::string_view name) {
  std::string clean;
  for (char c : name)
    if (static_cast<unsigned char>(c) >= 0x20 &&
        std::string_view(";{}\\\"").find(c) == std::string_view::npos)
      clean += c;
  const std::size_t first = clean.find_first_not_of(' ');
  if (first == std::string::npos) return std::string(kDefaultFace);
  return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

void AppendRun(TRichParagraph& paragraph, std::u16string_view text, const TRunFormat& format) {
  if (text.empty()) return;
  if (!paragraph.Runs.empty() && paragraph.Runs.back().Format == format)
    paragraph.Runs.back().Text.append(text);
  else
    paragraph.Runs.push_back({std::u16string(text), format});
}

TRichDoc PlainTextDoc(std::string_view text) {
  TRichDoc doc;
  if (text.empty()) return doc;
  const TRunFormat format;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find_first_of("\r\n", start);
    const std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    TRichParagraph& paragraph = doc.Paragraphs.emplace_back();
    AppendRun(paragraph, Utf8ToUtf16(line), format);
    if (end == std::string_view::npos) break;
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return doc;
}

std::string PlainText(const TRichDoc& doc) {
  std::string text;
  for (const TRichParagraph& paragraph : doc.Paragraphs) {
    if (&paragraph != &doc.Paragraphs.front()) text += "\r\n";
    for (const TRichRun& run : paragraph.Runs) text += Utf16ToUtf8(run.Text);
  }
  return text;
}

}  // namespace pagolin
