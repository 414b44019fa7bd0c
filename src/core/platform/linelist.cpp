#include "core/platform/linelist.h"

namespace pagolin {

std::vector<std::string> TextToLines(std::string_view text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::string LinesToText(const std::vector<std::string>& lines, std::string_view lineBreak) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += lineBreak;
    text += lines[i];
  }
  return text;
}

}  // namespace pagolin
