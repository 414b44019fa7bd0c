// TRemoteFolder: the folder on the web server that a site is published to, as the publisher
// uses it. TCurlFolder (curlfolder.h) is the real one; tests put in their own to break a
// publish at any step.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/publish/publishurl.h"

namespace pagolin {

// The folder that TRemoteFolder::List() did not find (or may not enter).
class ERemoteFolderMissing : public EPublishError {
 public:
  using EPublishError::EPublishError;
};

// Called while a file goes up, with the bytes of it sent so far.
using TByteProgress = std::function<void(std::int64_t sent)>;

// A file to store: the local file and the name it gets in the folder.
struct TStoreJob {
  std::string LocalPath;
  std::string Name;
  std::int64_t Size = 0;
};

class TRemoteFolder {
 public:
  virtual ~TRemoteFolder() = default;

  // Stores the jobs as Store does, each in its own request, several at a time where the folder
  // can; proceed() is asked before each job starts (false starts no more), progress(i, sent) is
  // called with 0 when job i starts and then as it goes up, done(i) once job i is in place.
  // The first failure starts no more jobs, lets those under way end, then throws EPublishError.
  // This one stores one job after the other.
  virtual void StoreAll(const std::vector<TStoreJob>& jobs, const std::function<bool()>& proceed,
                        const std::function<void(std::size_t job, std::int64_t sent)>& progress,
                        const std::function<void(std::size_t job)>& done) {
    for (std::size_t i = 0; i < jobs.size() && proceed(); ++i) {
      progress(i, 0);
      Store(jobs[i].LocalPath, jobs[i].Name, jobs[i].Size, [&](std::int64_t sent) { progress(i, sent); });
      done(i);
    }
  }

  // Puts the local file into the folder under name (the file system's bytes): it goes up
  // under TemporaryName(name) and is then renamed to name, replacing a file of that name, so
  // that name is never a part of a file. Throws EPublishError; the file under name is then the
  // one before.
  virtual void Store(const std::string& localPath, const std::string& name, std::int64_t size,
                     const TByteProgress& progress) = 0;
  // Deletes the file name from the folder. Throws EPublishError.
  virtual void Remove(const std::string& name) = 0;
  // The names of the files in the folder (not "." and ".."). Throws EPublishError; an
  // unreachable server, a refused login or host key say so; a missing folder throws
  // ERemoteFolderMissing.
  virtual std::vector<std::string> List() = 0;
};

// The name a file goes up under before it is renamed into place: hidden, beside it.
inline std::string TemporaryName(const std::string& name) { return "." + name + ".upload"; }

}  // namespace pagolin
