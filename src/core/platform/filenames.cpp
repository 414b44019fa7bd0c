#include "core/platform/filenames.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

namespace pagolin {
namespace {

size_t LastDelimiter(std::string_view s) { return s.find_last_of(PathSeparators); }

}  // namespace

std::string ExtractFilePath(std::string_view fileName) {
  const size_t p = LastDelimiter(fileName);
  return p == std::string_view::npos ? std::string() : std::string(fileName.substr(0, p + 1));
}

std::string ExtractFileName(std::string_view fileName) {
  const size_t p = LastDelimiter(fileName);
  return std::string(p == std::string_view::npos ? fileName : fileName.substr(p + 1));
}

std::string ExtractFileExt(std::string_view fileName) {
  const size_t d = LastDelimiter(fileName);
  const size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || (d != std::string_view::npos && dot < d)) return {};
  return std::string(fileName.substr(dot));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view ext) {
  const size_t d = LastDelimiter(fileName);
  const size_t dot = fileName.rfind('.');
  std::string base(fileName);
  if (dot != std::string_view::npos && (d == std::string_view::npos || dot > d)) base.resize(dot);
  return base + std::string(ext);
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
  std::string s(path);
  if (s.empty() || s.back() != PathDelim) s += PathDelim;
  return s;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
  std::string s(path);
  if (!s.empty() && s.back() == PathDelim) s.pop_back();
  return s;
}

bool FileExists(const std::string& fileName) {
  struct stat st {};
  return !fileName.empty() && ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& dirName) {
  struct stat st {};
  return !dirName.empty() && ::stat(dirName.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::int64_t FileSizeOf(const std::string& fileName) {
  struct stat st {};
  if (fileName.empty() || ::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<std::int64_t>(st.st_size);
}

std::string ProgramFolder() {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return IncludeTrailingPathDelimiter(".");
  return ExtractFilePath(std::string_view(buf, static_cast<size_t>(n)));
}

std::string ProgramName() {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "pagolin";
  const std::string name = ExtractFileName(std::string_view(buf, static_cast<size_t>(n)));
  return name.substr(0, name.size() - ExtractFileExt(name).size());
}

bool WriteFileAtomically(const std::string& fileName, std::string_view contents, std::string& error) {
  std::random_device rd;
  const std::string temp = fileName + ".tmp" + std::to_string(rd() % 1000000);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = "Cannot create the file \"" + temp + "\": " + std::strerror(errno);
      return false;
    }
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.flush();
    if (!out) {
      error = "Cannot write the file \"" + temp + "\": " + std::strerror(errno);
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), fileName.c_str()) != 0) {
    error = "Cannot write the file \"" + fileName + "\": " + std::strerror(errno);
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& fileName, std::string& contents, std::string& error) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) {
    error = "Cannot open the file \"" + fileName + "\": " + std::strerror(errno);
    return false;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  contents = std::move(ss).str();
  return true;
}

}  // namespace pagolin
