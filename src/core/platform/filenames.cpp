#include "core/platform/filenames.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#include "core/platform/utf8.h"

namespace pagolin {
namespace {

size_t LastDelimiter(std::string_view s) { return s.find_last_of(PathSeparators); }

// "Cannot create the file "x": reason", or, when the folder is missing, that.
std::string FileError(const char* what, const std::string& fileName, int error) {
  const std::string folder = ExtractFilePath(fileName);
  if (error == ENOENT && !folder.empty() && !DirectoryExists(folder))
    return "The folder \"" + PathText(ExcludeTrailingPathDelimiter(folder)) + "\" does not exist.";
  return std::string(what) + " \"" + PathText(fileName) + "\": " + std::strerror(error);
}

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

std::string AbsolutePath(std::string_view path) {
  if (path.empty() || path.front() == PathDelim) return std::string(path);
  char buf[4096];
  if (!::getcwd(buf, sizeof buf)) return std::string(path);
  return IncludeTrailingPathDelimiter(buf) + std::string(path);
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

std::string PathText(std::string_view path) { return ValidUtf8(path); }

std::string TextPath(std::string_view text) { return std::string(text); }

bool WriteFileAtomically(const std::string& fileName, std::string_view contents, std::string& error) {
  std::random_device rd;
  const std::string temp = fileName + ".tmp" + std::to_string(rd() % 1000000);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = FileError("Cannot create the file", fileName, errno);
      return false;
    }
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.flush();
    if (!out) {
      error = FileError("Cannot write the file", fileName, errno);
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), fileName.c_str()) != 0) {
    error = FileError("Cannot write the file", fileName, errno);
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

bool ReadFileStart(const std::string& fileName, size_t maxBytes, std::string& contents, std::string& error) {
  // Opened without waiting, so that a pipe or a device named like a file cannot hang the
  // program; only a regular file is read.
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = FileError("Cannot open the file", fileName, errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    error = "\"" + PathText(fileName) + "\" is not a regular file.";
    return false;
  }
  contents.clear();
  contents.reserve(std::min(maxBytes, static_cast<size_t>(st.st_size)));
  char buffer[65536];
  while (contents.size() < maxBytes) {
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, maxBytes - contents.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = FileError("Cannot read the file", fileName, errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    contents.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

void RemoveTemporaryFilesOf(const std::string& fileName) {
  const std::string folder = ExtractFilePath(fileName);
  const std::string prefix = ExtractFileName(fileName) + ".tmp";
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix ||
        name.find_first_not_of("0123456789", prefix.size()) != std::string_view::npos)
      continue;
    const std::string path = folder + std::string(name);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
  }
  ::closedir(dir);
}

bool ReadWholeFile(const std::string& fileName, std::string& contents, std::string& error) {
  return ReadFileStart(fileName, static_cast<size_t>(-1), contents, error);
}

}  // namespace pagolin
