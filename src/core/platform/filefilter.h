// File-dialog filters in their stored form: pairs of description and patterns joined by "|",
// patterns joined by ";" ("HTML files (*.htm, *.html)|*.htm;*.html|All files|*.*").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pagolin {

struct TFileFilter {
  std::string description;
  std::vector<std::string> patterns;  // blanks trimmed, empty ones dropped
};

// One entry per pair, in order. A description without patterns (an odd last part, or an
// empty pattern part) is given "*" so that the entry still shows every file.
std::vector<TFileFilter> ParseFileFilter(std::string_view filter);

}  // namespace pagolin
