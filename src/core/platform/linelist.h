// A text as a list of lines, the way a multi-line edit shows it: lines end at CR LF, LF or CR,
// and a break at the very end adds no empty line ("a\nb\n" is two lines, "" is none).
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace pagolin {

// Finds the line breaks (CR or LF) of a text from left to right with memchr, far quicker than
// a loop over the bytes. Next(from) is the first break at or after from, or End().
class TBreakFinder {
 public:
  explicit TBreakFinder(std::string_view text)
      : end_(text.data() + text.size()), cr_(Find(text.data(), '\r')), lf_(Find(text.data(), '\n')) {}
  const char* End() const { return end_; }
  const char* Next(const char* from) {
    if (cr_ < from) cr_ = Find(from, '\r');
    if (lf_ < from) lf_ = Find(from, '\n');
    return std::min(cr_, lf_);
  }

 private:
  const char* Find(const char* from, char c) const {
    const void* at = std::memchr(from, c, static_cast<size_t>(end_ - from));
    return at ? static_cast<const char*>(at) : end_;
  }
  const char* end_;
  const char* cr_;
  const char* lf_;
};

// Calls emit(line) for each line of text, with the rule above.
template <typename Emit>
void ForEachLine(std::string_view text, Emit emit) {
  TBreakFinder breaks(text);
  const char* const end = breaks.End();
  for (const char* start = text.data(); start < end;) {
    const char* brk = breaks.Next(start);
    emit(std::string_view(start, static_cast<size_t>(brk - start)));
    if (brk == end) return;
    start = brk + 1;
    if (*brk == '\r' && start < end && *start == '\n') ++start;
  }
}

std::vector<std::string> TextToLines(std::string_view text);
// The lines joined by lineBreak, without a break after the last one.
std::string LinesToText(const std::vector<std::string>& lines, std::string_view lineBreak = "\r\n");

}  // namespace pagolin
