// The error of the table store: a missing, foreign or locked table file, a failed write.
#pragma once

#include <stdexcept>

namespace pagolin {

class EDatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace pagolin
