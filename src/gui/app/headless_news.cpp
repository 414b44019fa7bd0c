#include <cstdio>

#include "app/headless.h"

namespace pagolin {

// Replaced by the news posting work.
int HeadlessSendNews(const std::string&) {
  std::fprintf(stderr, "Sending news is not available in this version.\n");
  return 1;
}

}  // namespace pagolin
