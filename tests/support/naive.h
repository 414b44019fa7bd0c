// Plain, obviously right versions of the text operations, for tests and the fuzzer to compare the
// real ones against.
#pragma once

#include <optional>
#include <string>

namespace pagolin::test {

// ReplaceAll as the rule reads: replace the first occurrence, then search again from the start.
// Gives up (nullopt) after maxSteps replacements, since the rule need not end.
inline std::optional<std::string> SearchFromStart(std::string text, const std::string& placeholder,
                                                  const std::string& replacement, int maxSteps) {
  if (placeholder.empty()) return text;
  for (int step = 0;; ++step) {
    const size_t at = text.find(placeholder);
    if (at == std::string::npos) return text;
    if (step == maxSteps) return std::nullopt;
    text.replace(at, placeholder.size(), replacement);
  }
}

}  // namespace pagolin::test
