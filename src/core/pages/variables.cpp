#include "core/pages/variables.h"

#include <algorithm>
#include <cstring>

#include "core/platform/replaceall.h"

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
    const size_t n = order_.size();
    size_t kept = 0;
    for (size_t i = 0; i < n; ++i) {
      const int s = order_[i];
      if (i > 0 && i + 1 < n && Equals(s, name)) {
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
  };

  void Add(std::string_view text) {
    parts_.push_back({text, -1});
    const int p = static_cast<int>(parts_.size()) - 1;
    stretches_.push_back({p, p, text.size()});
    order_.push_back(static_cast<int>(stretches_.size()) - 1);
  }

  bool Equals(int s, std::string_view name) const {
    const TStretch& st = stretches_[s];
    if (st.size != name.size()) return false;
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
    parts_[l.tail].next = static_cast<int>(parts_.size()) - 1;
    l.tail = r.tail;
    l.size += value.size() + r.size;
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
