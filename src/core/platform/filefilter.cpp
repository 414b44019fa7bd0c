#include "core/platform/filefilter.h"

namespace pagolin {
namespace {

std::vector<std::string_view> Split(std::string_view s, char sep) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (;;) {
    const size_t p = s.find(sep, start);
    parts.push_back(s.substr(start, p == std::string_view::npos ? std::string_view::npos : p - start));
    if (p == std::string_view::npos) return parts;
    start = p + 1;
  }
}

std::string_view Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

}  // namespace

std::vector<TFileFilter> ParseFileFilter(std::string_view filter) {
  std::vector<TFileFilter> result;
  if (filter.empty()) return result;
  const std::vector<std::string_view> parts = Split(filter, '|');
  for (size_t i = 0; i < parts.size(); i += 2) {
    TFileFilter f;
    f.description = std::string(parts[i]);
    if (i + 1 < parts.size())
      for (std::string_view p : Split(parts[i + 1], ';'))
        if (!Trim(p).empty()) f.patterns.emplace_back(Trim(p));
    if (f.patterns.empty()) f.patterns.emplace_back("*");
    result.push_back(std::move(f));
  }
  return result;
}

}  // namespace pagolin
