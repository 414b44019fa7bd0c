#include "core/pages/textlines.h"

#include "core/platform/linelist.h"
#include "core/platform/utf8.h"

#include <cstring>

namespace pagolin {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void AppendLines(std::string& out, std::string_view text) {
  // Stretches already in CR LF form are copied at once; only a lone CR or LF is rewritten.
  TBreakFinder breaks(text);
  const char* const end = breaks.End();
  const char* copied = text.data();
  for (const char* pos = copied; pos < end;) {
    const char* brk = breaks.Next(pos);
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

bool IsCrLfLines(std::string_view text) {
  if (!text.empty() && text.back() != '\n') return false;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (const char* p = begin;
       (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))); ++p)
    if (p == begin || p[-1] != '\r') return false;
  for (const char* p = begin;
       (p = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)))); ++p)
    if (p + 1 == end || p[1] != '\n') return false;
  return true;
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
    // Columns count characters: column is the byte offset of the character at kWrapColumns.
    size_t column;
    while ((column = Utf8Offset(line, kWrapColumns)) < line.size()) {
      // The last blank that still lets the line end by the column (a blank just past the
      // column may hang off the end), after the first word.
      size_t brk = std::string_view::npos;
      for (size_t i = column + 1; i-- > 0;) {
        if (IsBlank(line[i])) {
          brk = i;
          break;
        }
      }
      size_t end = brk;
      while (end != std::string_view::npos && end > 0 && IsBlank(line[end - 1])) --end;
      if (brk == std::string_view::npos || end == 0) {
        emit(line.substr(0, column));
        line.remove_prefix(column);
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
