#include "core/import/importreport.h"

namespace pagolin {

bool TImportReport::Complete() const {
  for (const TTableReport& t : tables)
    if (t.skipped != 0 || t.written != t.read || t.fieldSkipped) return false;
  return !settingsLost;
}

std::string TImportReport::Text(std::size_t maxWarnings) const {
  std::string text;
  for (const TTableReport& t : tables) {
    text += t.fileName + " (from \"" + t.source + "\", code page " + std::to_string(t.codePage) +
            "): " + std::to_string(t.read) + " read, " + std::to_string(t.written) + " written, " +
            std::to_string(t.skipped) + " skipped\n";
    for (std::size_t i = 0; i < t.warnings.size() && i < maxWarnings; ++i)
      text += "  warning: " + t.warnings[i] + "\n";
    if (t.warnings.size() > maxWarnings)
      text += "  ... and " + std::to_string(t.warnings.size() - maxWarnings) + " more warnings\n";
  }
  for (const std::string& note : notes) text += note + "\n";
  text += Complete() ? "Every record came over.\n" : "Not everything came over; see the warnings above.\n";
  return text;
}

}  // namespace pagolin
