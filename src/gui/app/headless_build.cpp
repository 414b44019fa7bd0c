#include <cstdio>

#include "app/headless.h"

namespace pagolin {

// Replaced by the page builder work.
int HeadlessBuild(const std::string&) {
  std::fprintf(stderr, "Building pages is not available in this version.\n");
  return 1;
}

}  // namespace pagolin
