// Time limits of the network waits: the milliseconds left until a deadline, and a limit as
// the messages name it.
#pragma once

#include <chrono>
#include <string>

namespace pagolin {

using TWaitClock = std::chrono::steady_clock;

// 0 once the deadline has passed.
inline int MillisecondsLeft(TWaitClock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TWaitClock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}

// 30000 gives "30", 2500 gives "2.5", 300 gives "0.3".
inline std::string SecondsText(int milliseconds) {
  std::string text = std::to_string(milliseconds / 1000);
  if (milliseconds % 1000 != 0) text += "." + std::to_string(milliseconds % 1000 / 100);
  return text;
}

}  // namespace pagolin
