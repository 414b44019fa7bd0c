// Helpers of the build tests: a temporary folder, files of given sizes, GIF headers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/filenames.h"

namespace pagolin::testing {

// A fresh empty folder under the system's temporary folder, removed at the end.
class TTempFolder {
 public:
  TTempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("pagolin-build-" + std::string(info ? info->name() : "x") + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TTempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  // With the trailing delimiter.
  std::string Path() const { return IncludeTrailingPathDelimiter(path_.string()); }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A GIF header of the given logical screen size, padded with zero bytes to totalBytes.
inline std::string GifBytes(unsigned width, unsigned height, size_t totalBytes = 13) {
  std::string b = "GIF89a";
  b += static_cast<char>(width & 0xFF);
  b += static_cast<char>(width >> 8);
  b += static_cast<char>(height & 0xFF);
  b += static_cast<char>(height >> 8);
  b += std::string(3, '\0');
  if (totalBytes > b.size()) b += std::string(totalBytes - b.size(), '\0');
  return b;
}

inline std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace pagolin::testing
