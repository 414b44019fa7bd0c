#include "fileinfo.h"

#include <sys/stat.h>

#include "platform/filenames.h"

namespace pagolin {
namespace {

// The directory entry of an ordinary file, as a directory search that skips folders and
// hidden entries finds it.
bool FindOrdinaryFile(const std::string& path, struct stat& st) {
  const std::string name = ExtractFileName(path);
  if (name.empty() || name[0] == '.') return false;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::int64_t GetFileSizeKB(const std::string& path) {
  struct stat st {};
  if (!FindOrdinaryFile(path, st)) return 0;
  const std::int64_t bytes = static_cast<std::int64_t>(st.st_size);
  const std::int64_t whole = bytes / 1024;
  const std::int64_t rest = bytes % 1024;
  if (rest > 512 || (rest == 512 && whole % 2 != 0)) return whole + 1;
  return whole;
}

TDateTime GetFileDate(const std::string& path) {
  struct stat st {};
  if (!FindOrdinaryFile(path, st)) return 0;
  // Time zones lie whole minutes apart, so an even second is even in local time as well.
  long long seconds = static_cast<long long>(st.st_mtime);
  seconds -= ((seconds % 2) + 2) % 2;
  return UnixToLocalDateTime(seconds);
}

}  // namespace pagolin
