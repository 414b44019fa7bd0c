// Shortening a path for a narrow status line: the parts after the first are replaced by
// "..." from the front until the path fits, keeping its root and its last parts.
#pragma once

#include <string>
#include <string_view>

#include "core/platform/filenames.h"

namespace pagolin {

// At most maxLength characters where the path allows it:
//   1. a path not longer than maxLength stays as it is;
//   2. a path of two parts or fewer (split at separator) stays as it is;
//   3. the second part becomes filler;
//   4. the parts are joined; while the result is too long and more than three parts are
//      left, the third part is dropped and they are joined again.
// So "C:\a\bbbbbbbbbb\cccccccccc\dddddddddd\e.txt" (43) becomes
// "C:\...\cccccccccc\dddddddddd\e.txt" (34) for 35 with "\" as separator. The result can
// stay longer than maxLength when its last parts alone are too long.
std::string ShortenPath(std::string_view path, size_t maxLength = 35, char separator = PathDelim,
                        std::string_view filler = "...");

}  // namespace pagolin
