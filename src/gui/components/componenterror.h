// The error a component raises when its owner configured it wrongly (a required property left
// unset); the message names the property and the component.
#pragma once

#include <stdexcept>

namespace pagolin {

class EComponentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace pagolin
