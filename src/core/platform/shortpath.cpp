#include "core/platform/shortpath.h"

#include <vector>

#include "core/platform/utf8.h"

namespace pagolin {
namespace {

std::string Join(const std::vector<std::string_view>& parts, char separator) {
  std::string s;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) s += separator;
    s += parts[i];
  }
  return s;
}

}  // namespace

std::string ShortenPath(std::string_view path, size_t maxLength, char separator, std::string_view filler) {
  if (Utf8Length(path) <= maxLength) return std::string(path);
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (;;) {
    const size_t sep = path.find(separator, start);
    if (sep == std::string_view::npos) {
      parts.push_back(path.substr(start));
      break;
    }
    parts.push_back(path.substr(start, sep - start));
    start = sep + 1;
  }
  if (parts.size() <= 2) return std::string(path);
  parts[1] = filler;
  std::string result = Join(parts, separator);
  while (Utf8Length(result) > maxLength && parts.size() > 3) {
    parts.erase(parts.begin() + 2);
    result = Join(parts, separator);
  }
  return result;
}

}  // namespace pagolin
