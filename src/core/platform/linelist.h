// A text as a list of lines, the way a multi-line edit shows it: lines end at CR LF, LF or CR,
// and a break at the very end adds no empty line ("a\nb\n" is two lines, "" is none).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pagolin {

std::vector<std::string> TextToLines(std::string_view text);
// The lines joined by lineBreak, without a break after the last one.
std::string LinesToText(const std::vector<std::string>& lines, std::string_view lineBreak = "\r\n");

}  // namespace pagolin
