// What an import of an old site did: per table the records read, written and skipped with
// every warning, and the notes about the settings file and the files left aside.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace pagolin {

// An import that could not be done at all; the message names the file. Nothing was written.
class EImportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TTableReport {
  std::string fileName;  // the site's file ("product.DB")
  std::string source;    // the old file it came from
  int codePage = 0;
  int read = 0, written = 0, skipped = 0;
  bool fieldSkipped = false;  // a field's values did not come over
  std::vector<std::string> warnings;
};

struct TImportReport {
  std::vector<TTableReport> tables;
  std::vector<std::string> notes;  // the settings file, files left aside
  bool settingsLost = false;       // the old settings could not be carried over

  // Every record of every table came over whole, and the settings too.
  bool Complete() const;
  // The report as lines for the user (LF line ends); at most maxWarnings warnings per table
  // are listed, then their number.
  std::string Text(std::size_t maxWarnings = 20) const;
};

}  // namespace pagolin
