#include "core/platform/replaceall.h"

#include <algorithm>
#include <vector>

namespace pagolin {
namespace {

// The text not yet searched, as a stack of pieces: the original text at the bottom, and on
// top of it each replacement that still has to be searched (its own text plus whatever it
// forms with its neighbours).
struct TPiece {
  std::string_view text;
  size_t pos = 0;
  size_t Left() const { return text.size() - pos; }
};

// Whether a replacement, put in the place of an occurrence, can make a new occurrence
// together with the text around it: when the placeholder holds it with neighbours on either
// side (an empty one always), or begins with an end piece of it, or ends with a start piece.
bool CanFormWithNeighbours(std::string_view placeholder, std::string_view replacement) {
  if (placeholder.find(replacement) != std::string_view::npos) return true;
  const size_t most = std::min(replacement.size(), placeholder.size() - 1);
  for (size_t k = 1; k <= most; ++k) {
    if (replacement.substr(replacement.size() - k) == placeholder.substr(0, k)) return true;
    if (replacement.substr(0, k) == placeholder.substr(placeholder.size() - k)) return true;
  }
  return false;
}

// Every occurrence from left to right, inserted text not searched.
void ReplaceEachOnce(std::string_view text, std::string_view placeholder, std::string_view replacement,
                     size_t first, std::string& out) {
  out.clear();
  out.reserve(text.size() + (replacement.size() > placeholder.size() ? replacement.size() : 0));
  size_t from = 0;
  for (size_t at = first; at != std::string_view::npos; at = text.find(placeholder, from)) {
    out.append(text.substr(from, at - from));
    out.append(replacement);
    from = at + placeholder.size();
  }
  out.append(text.substr(from));
}

}  // namespace

// Searching again from the start after each replacement would cost quadratic time. Instead the
// result is built left to right: `out` holds the searched part, which contains no occurrence,
// and the pieces hold the rest. Since nothing in `out` matched, the next occurrence of the
// whole text either starts in the last (placeholder length - 1) bytes of `out` and runs into
// the pieces, or lies wholly in a piece; the first such one is the one a search from the start
// would find. Its replacement is pushed as a new piece, to be searched with its neighbours.
std::string ReplaceAll(std::string_view text, std::string_view placeholder, std::string_view replacement) {
  std::string out;
  if (!ReplaceAllInto(text, placeholder, replacement, out)) out.assign(text);
  return out;
}

bool ReplaceAllInto(std::string_view text, std::string_view placeholder, std::string_view replacement,
                    std::string& out) {
  const size_t m = placeholder.size();
  const size_t first = m == 0 ? std::string_view::npos : text.find(placeholder);
  if (first == std::string_view::npos) return false;
  // Where no replacement can form a new occurrence (the usual case), or inserted text is never
  // searched because it holds the placeholder, one pass from left to right is the whole work.
  if (replacement.find(placeholder) != std::string_view::npos ||
      !CanFormWithNeighbours(placeholder, replacement)) {
    ReplaceEachOnce(text, placeholder, replacement, first, out);
    return true;
  }

  out.clear();
  out.reserve(text.size() + (replacement.size() > m ? text.size() / 2 : 0));
  std::vector<TPiece> pieces{{text, 0}};
  std::string window;

  // Whether inserted text is searched again. A replacement holding its own placeholder would
  // be replaced forever, so it never is; other endless chains are cut off by the budget.
  bool searchInserted = replacement.find(placeholder) == std::string_view::npos;
  long long budget = 8 * static_cast<long long>(text.size() + replacement.size()) + 4096;
  // out[0, frozen) is never searched again (inserted text once searchInserted is off).
  size_t frozen = 0;

  auto replace = [&](bool formed) {
    if (formed) {
      budget -= static_cast<long long>(m + replacement.size());
      if (budget < 0) searchInserted = false;
    }
    if (searchInserted) {
      if (!replacement.empty()) pieces.push_back({replacement, 0});
    } else {
      out.append(replacement);
      frozen = out.size();
    }
  };
  auto consume = [&](size_t count) {
    while (count > 0) {
      TPiece& top = pieces.back();
      const size_t take = std::min(count, top.Left());
      top.pos += take;
      count -= take;
      if (top.Left() == 0) pieces.pop_back();
    }
  };

  while (!pieces.empty()) {
    if (pieces.back().Left() == 0) {
      pieces.pop_back();
      continue;
    }
    // An occurrence that starts in the tail of the searched part and runs into the pieces.
    const size_t tail = std::min(m - 1, out.size() - frozen);
    if (tail > 0) {
      window.assign(out, out.size() - tail, tail);
      size_t need = m - 1;
      for (auto it = pieces.rbegin(); it != pieces.rend() && need > 0; ++it) {
        const size_t take = std::min(need, it->Left());
        window.append(it->text.substr(it->pos, take));
        need -= take;
      }
      const size_t at = window.find(placeholder);
      if (at != std::string::npos) {  // it starts in the tail: the window is too short otherwise
        const size_t fromOut = tail - at;
        out.resize(out.size() - fromOut);
        consume(m - fromOut);
        replace(true);
        continue;
      }
    }
    // An occurrence wholly inside the top piece.
    const size_t top = pieces.size() - 1;
    const TPiece piece = pieces[top];
    const size_t at = piece.text.find(placeholder, piece.pos);
    if (at == std::string_view::npos) {
      out.append(piece.text.substr(piece.pos));
      pieces.pop_back();
      continue;
    }
    out.append(piece.text.substr(piece.pos, at - piece.pos));
    pieces[top].pos = at + m;
    // Only the original text can hold a whole occurrence while inserted text is searched.
    replace(top != 0);
  }
  return true;
}

}  // namespace pagolin
