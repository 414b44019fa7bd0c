// TProcessLock: a lock on a file name that the system lets go of when the process holding it
// ends, however it ends (flock on an open file). One process holds it at a time; a stopped
// holder still holds it, a killed one no longer does.
//
// The holder removes the file when it lets go. A process that locked the file just before it
// was removed notices that the name leads elsewhere now and tries again, so two processes can
// never both believe they hold the lock.
#pragma once

#include <string>

namespace pagolin {

class TProcessLock {
 public:
  enum class TResult {
    lrTaken,  // this process holds the lock now
    lrHeld,   // another process holds it
    lrFailed  // the file cannot be made or locked (a folder without write access)
  };

  TProcessLock() = default;
  ~TProcessLock() { Release(); }
  TProcessLock(TProcessLock&& other) noexcept;
  TProcessLock& operator=(TProcessLock&& other) noexcept;
  TProcessLock(const TProcessLock&) = delete;
  TProcessLock& operator=(const TProcessLock&) = delete;

  // Takes the lock on fileName without waiting. A lock held already is let go of first.
  TResult TryTake(const std::string& fileName);
  bool Held() const { return fd_ >= 0; }
  // Lets go of the lock and removes its file; nothing when none is held.
  void Release();

 private:
  int fd_ = -1;
  std::string fileName_;
};

}  // namespace pagolin
