#include "core/platform/processlock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace pagolin {

TProcessLock::TProcessLock(TProcessLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), fileName_(std::move(other.fileName_)) {}

TProcessLock& TProcessLock::operator=(TProcessLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
    fileName_ = std::move(other.fileName_);
  }
  return *this;
}

TProcessLock::TResult TProcessLock::TryTake(const std::string& fileName) {
  Release();
  for (;;) {
    // Close on exec: a program started from here (a browser) must not keep the lock alive.
    const int fd = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return TResult::lrFailed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      return error == EWOULDBLOCK ? TResult::lrHeld : TResult::lrFailed;
    }
    struct stat locked {
    }, named{};
    if (::fstat(fd, &locked) == 0 && ::stat(fileName.c_str(), &named) == 0 && locked.st_dev == named.st_dev &&
        locked.st_ino == named.st_ino) {
      fd_ = fd;
      fileName_ = fileName;
      return TResult::lrTaken;
    }
    // The holder let go and removed the file between our open and our lock: the file we
    // locked has no name any more. Try again with the one the name leads to now.
    ::close(fd);
  }
}

void TProcessLock::Release() {
  if (fd_ < 0) return;
  // Removed while still locked, so that whoever takes the name next takes a new file.
  ::unlink(fileName_.c_str());
  ::close(fd_);
  fd_ = -1;
  fileName_.clear();
}

}  // namespace pagolin
