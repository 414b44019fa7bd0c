#include "core/pages/fileinfo.h"

#include <sys/stat.h>

#include "core/platform/filenames.h"

namespace pagolin {
namespace {

// The directory entry of an ordinary file, as a directory search that skips folders and
// hidden entries finds it.
bool IsHiddenName(const std::string& path) {
  const std::string name = ExtractFileName(path);
  return name.empty() || name[0] == '.';
}

bool FindOrdinaryFile(const std::string& path, struct stat& st) {
  if (IsHiddenName(path)) return false;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::int64_t SizeKB(const struct stat& st) {
  const std::int64_t bytes = static_cast<std::int64_t>(st.st_size);
  const std::int64_t whole = bytes / 1024;
  const std::int64_t rest = bytes % 1024;
  if (rest > 512 || (rest == 512 && whole % 2 != 0)) return whole + 1;
  return whole;
}

TDateTime DateOf(const struct stat& st) {
  // Time zones lie whole minutes apart, so an even second is even in local time as well.
  long long seconds = static_cast<long long>(st.st_mtime);
  seconds -= ((seconds % 2) + 2) % 2;
  return UnixToLocalDateTime(seconds);
}

}  // namespace

std::int64_t GetFileSizeKB(const std::string& path) {
  struct stat st {};
  return FindOrdinaryFile(path, st) ? SizeKB(st) : 0;
}

TDateTime GetFileDate(const std::string& path) {
  struct stat st {};
  return FindOrdinaryFile(path, st) ? DateOf(st) : 0;
}

TFileFacts LookAtFile(const std::string& path) {
  TFileFacts facts;
  struct stat st {};
  facts.exists = !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  if (facts.exists && !IsHiddenName(path)) {
    facts.sizeKB = SizeKB(st);
    facts.date = DateOf(st);
  }
  return facts;
}

}  // namespace pagolin
