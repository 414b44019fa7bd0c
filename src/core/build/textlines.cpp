#include "textlines.h"

#include <algorithm>
#include <cstring>

namespace pagolin {
namespace {

// Calls emit(line) for each line of text, with the line-break rule of AppendLines. Looks for
// the two break characters with memchr, which is far quicker than a loop over the bytes.
template <typename Emit>
void ForEachLine(std::string_view text, Emit emit) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* start = begin;
  auto next = [end](const char* from, char c) {
    const void* at = std::memchr(from, c, static_cast<size_t>(end - from));
    return at ? static_cast<const char*>(at) : end;
  };
  const char* cr = next(start, '\r');
  const char* lf = next(start, '\n');
  while (start < end) {
    if (cr < start) cr = next(start, '\r');
    if (lf < start) lf = next(start, '\n');
    const char* brk = std::min(cr, lf);
    if (brk == end) {
      emit(std::string_view(start, static_cast<size_t>(end - start)));
      return;
    }
    emit(std::string_view(start, static_cast<size_t>(brk - start)));
    start = brk + 1;
    if (*brk == '\r' && start < end && *start == '\n') ++start;
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void AppendLines(std::string& out, std::string_view text) {
  // Stretches already in CR LF form are copied at once; only a lone CR or LF is rewritten.
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  auto next = [end](const char* from, char c) {
    const void* at = std::memchr(from, c, static_cast<size_t>(end - from));
    return at ? static_cast<const char*>(at) : end;
  };
  const char* copied = begin;
  const char* pos = begin;
  const char* cr = next(pos, '\r');
  const char* lf = next(pos, '\n');
  while (pos < end) {
    if (cr < pos) cr = next(pos, '\r');
    if (lf < pos) lf = next(pos, '\n');
    const char* brk = std::min(cr, lf);
    if (brk == end) break;
    if (*brk == '\r' && brk + 1 < end && brk[1] == '\n') {
      pos = brk + 2;
      continue;
    }
    out.append(copied, static_cast<size_t>(brk - copied));
    out += "\r\n";
    pos = copied = brk + 1;
  }
  out.append(copied, static_cast<size_t>(end - copied));
  if (!text.empty() && text.back() != '\r' && text.back() != '\n') out += "\r\n";
}

std::string ToCrLfLines(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32 + 2);
  AppendLines(out, text);
  return out;
}

std::string WrapLines(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32 + 2);
  auto emit = [&out](std::string_view line) {
    out.append(line);
    out += "\r\n";
  };
  ForEachLine(text, [&](std::string_view line) {
    bool wrapped = false;
    while (line.size() > kWrapColumns) {
      // The last blank that still lets the line end by the column (a blank just past the
      // column may hang off the end), after the first word.
      size_t brk = std::string_view::npos;
      for (size_t i = kWrapColumns + 1; i-- > 0;) {
        if (IsBlank(line[i])) {
          brk = i;
          break;
        }
      }
      size_t end = brk;
      while (end != std::string_view::npos && end > 0 && IsBlank(line[end - 1])) --end;
      if (brk == std::string_view::npos || end == 0) {
        emit(line.substr(0, kWrapColumns));
        line.remove_prefix(kWrapColumns);
        continue;
      }
      emit(line.substr(0, end));
      wrapped = true;
      size_t next = brk;
      while (next < line.size() && IsBlank(line[next])) ++next;
      line.remove_prefix(next);
    }
    // Blanks at a break are dropped, so they leave no empty line behind.
    if (!line.empty() || !wrapped) emit(line);
  });
  return out;
}

}  // namespace pagolin
