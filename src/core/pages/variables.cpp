#include "core/pages/variables.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/pages/replaceall.h"

namespace pagolin {
namespace {

// The text as the stretches between its '%' signs. A placeholder "%X%" (X without '%')
// occurs exactly where a stretch with both neighbouring '%' signs equals X, and replacing it
// by a value without '%' joins that stretch's two neighbours and the value into one stretch.
// A stretch is a chain of parts (views of the text and of values), so joining copies nothing.
class TStretches {
 public:
  explicit TStretches(std::string_view text) {
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    for (;;) {
      const void* at = std::memchr(start, '%', static_cast<size_t>(end - start));
      const char* stop = at ? static_cast<const char*>(at) : end;
      Add(std::string_view(start, static_cast<size_t>(stop - start)));
      if (!at) break;
      start = stop + 1;
    }
  }

  // One ReplaceAll of "%" + name + "%" by value. REQUIRES: neither holds '%', value is not part
  // of name: then a joined stretch never equals name, and the first occurrence left of
  // the search point is always the next equal stretch.
  void Replace(std::string_view name, std::string_view value) {
    const std::uint64_t nameStart = StartOf(name);
    const size_t n = order_.size();
    size_t kept = 0;
    for (size_t i = 0; i < n; ++i) {
      const int s = order_[i];
      if (i > 0 && i + 1 < n && Equals(s, name, nameStart)) {
        const int left = order_[kept - 1];
        Join(left, value, order_[i + 1]);
        ++i;  // the right neighbour is now part of the left one
        continue;
      }
      order_[kept++] = s;
    }
    order_.resize(kept);
  }

  std::string Text(size_t sizeHint) const {
    std::string out;
    out.reserve(sizeHint);
    for (size_t i = 0; i < order_.size(); ++i) {
      if (i > 0) out += '%';
      for (int p = stretches_[order_[i]].head; p >= 0; p = parts_[p].next) out.append(parts_[p].text);
    }
    return out;
  }

 private:
  struct TPart {
    std::string_view text;
    int next = -1;
  };
  struct TStretch {
    int head, tail;
    size_t size;
    std::uint64_t start;  // its first (up to) eight bytes: most comparisons end here
  };

  void Add(std::string_view text) {
    parts_.push_back({text, -1});
    const int p = static_cast<int>(parts_.size()) - 1;
    stretches_.push_back({p, p, text.size(), StartOf(text)});
    order_.push_back(static_cast<int>(stretches_.size()) - 1);
  }

  static std::uint64_t StartOf(std::string_view text) {
    std::uint64_t start = 0;
    if (!text.empty()) std::memcpy(&start, text.data(), std::min<size_t>(text.size(), 8));
    return start;
  }

  bool Equals(int s, std::string_view name, std::uint64_t nameStart) const {
    const TStretch& st = stretches_[s];
    if (st.size != name.size() || st.start != nameStart) return false;
    if (st.size <= 8) return true;
    size_t at = 0;
    for (int p = st.head; p >= 0; p = parts_[p].next) {
      const std::string_view t = parts_[p].text;
      if (name.compare(at, t.size(), t) != 0) return false;
      at += t.size();
    }
    return true;
  }

  void Join(int left, std::string_view value, int right) {
    TStretch& l = stretches_[left];
    const TStretch& r = stretches_[right];
    parts_.push_back({value, r.head});
    const int v = static_cast<int>(parts_.size()) - 1;
    parts_[l.tail].next = v;
    const bool shortLeft = l.size < 8;
    l.tail = r.tail;
    l.size += value.size() + r.size;
    if (!shortLeft) return;  // the first eight bytes are still those of the left stretch
    // The first eight bytes of the joined stretch, gathered from its parts.
    char start[8] = {};
    size_t have = 0;
    for (int p = l.head; p >= 0 && have < 8; p = parts_[p].next) {
      const std::string_view t = parts_[p].text;
      const size_t take = std::min(t.size(), 8 - have);
      std::memcpy(start + have, t.data(), take);
      have += take;
    }
    std::memcpy(&l.start, start, 8);
  }

  std::vector<TPart> parts_;
  std::vector<TStretch> stretches_;
  std::vector<int> order_;  // the stretches of the text, left to right
};

bool IsPlaceholderOfName(std::string_view placeholder) {
  return placeholder.size() >= 2 && placeholder.front() == '%' && placeholder.back() == '%' &&
         placeholder.substr(1, placeholder.size() - 2).find('%') == std::string_view::npos;
}

}  // namespace

bool OneScanGivesSameResult(const TVariables& variables) {
  for (const auto& [placeholder, value] : variables) {
    if (!IsPlaceholderOfName(placeholder) || value.find('%') != std::string::npos) return false;
    // A value inside its own name (the empty value always is) can form new occurrences with
    // the text around it, which ReplaceAll replaces as well, within its bound.
    if (std::string_view(placeholder).substr(1, placeholder.size() - 2).find(value) != std::string_view::npos)
      return false;
  }
  return true;
}

std::string ReplaceInTurn(std::string_view text, const TVariables& variables) {
  if (OneScanGivesSameResult(variables)) {
    // Only '%' can start an occurrence, so a text without one is left as it is.
    if (text.find('%') == std::string_view::npos) return std::string(text);
    TStretches stretches(text);
    size_t grow = 0;
    for (const auto& [placeholder, value] : variables) {
      stretches.Replace(std::string_view(placeholder).substr(1, placeholder.size() - 2), value);
      if (value.size() > placeholder.size()) grow += value.size() - placeholder.size();
    }
    return stretches.Text(text.size() + text.size() / 16 + grow);
  }
  // Whole passes, each copying the text only when its placeholder occurs.
  std::string result(text), spare;
  for (const auto& [placeholder, value] : variables)
    if (ReplaceAllInto(result, placeholder, value, spare)) result.swap(spare);
  return result;
}

}  // namespace pagolin
