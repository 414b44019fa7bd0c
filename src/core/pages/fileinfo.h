// Sizes and dates of the files a site consists of (downloads, images, pages).
#pragma once

#include <cstdint>
#include <string>

#include "core/platform/datetime.h"

namespace pagolin {

// The size of an ordinary file (not a folder, not a hidden dot-file) in KB: bytes / 1024 taken
// to the nearest whole number, halves to the even neighbour (512 bytes give 0, 1,536 give 2,
// 2,560 give 2). 0 when there is no such file. Sizes beyond 4 GB are read whole.
std::int64_t GetFileSizeKB(const std::string& path);

// The last-write date and time of an ordinary file in local time, to the even second below
// (the two-second resolution of the stored file times the program has always compared with);
// 0 when there is no such file.
TDateTime GetFileDate(const std::string& path);

// What FileExists, GetFileSizeKB and GetFileDate say of one path, from one look at the file
// (a build asks all three of every download file).
struct TFileFacts {
  bool exists = false;      // FileExists(path)
  std::int64_t sizeKB = 0;  // GetFileSizeKB(path)
  TDateTime date = 0;       // GetFileDate(path)
};
TFileFacts LookAtFile(const std::string& path);

}  // namespace pagolin
