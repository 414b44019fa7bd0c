// Publishing: the site's present files compared with what earlier publishes put on the web
// server (TPublishedFiles), and the new and changed ones uploaded into the server's folder.
//
// A file goes up under a temporary name and is renamed into place, images and downloads before
// the pages that link to them. Each file is recorded as published as soon as it is in place,
// so a publish that is stopped, cancelled or cut off keeps what it did, and the next one sends
// only the rest. With DeleteRemoved, files that an earlier publish put there and that the site
// no longer lists are deleted, never any other file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/data/publishedfiles.h"
#include "core/pages/sitefiles.h"
#include "core/pages/uploadlist.h"
#include "core/publish/remotefolder.h"

namespace pagolin {

enum class TPublishState { psNew, psChanged, psPublished };
// "new", "changed", "published".
const char* PublishStateText(TPublishState state);

struct TPublishItem {
  TSiteFile File;
  TPublishedFile Facts;  // its size and SHA-256 now
  TPublishState State = TPublishState::psNew;
};

struct TPublishPlan {
  std::vector<TPublishItem> Uploads;  // the new and changed files, the pages after what they show
  std::vector<std::string> Removals;  // files to delete from the server (DeleteRemoved)
  std::size_t Unchanged = 0;          // files already on the server as they are
  std::int64_t UploadBytes = 0;
  bool NothingToDo() const { return Uploads.empty() && Removals.empty(); }
};

// How the file compares with what was published under its name. Throws EPublishError when the
// file cannot be read.
TPublishItem ComparedFile(const TSiteFile& file, const std::map<std::string, TPublishedFile>& published);

// present: the files to publish (PresentFiles); listed: every name of the site's file list,
// present or not; published: what went to this URL before. Removals are the published names
// the list no longer holds, only with deleteRemoved. The uploads go in the order of their kinds
// (TSiteFileKind: a file before those that link to it), each kind in the list's order. Throws
// EPublishError as ComparedFile.
TPublishPlan PlanPublish(const std::vector<TSiteFile>& present, const std::vector<std::string>& listed,
                         const std::map<std::string, TPublishedFile>& published, bool deleteRemoved);

// For each item of an upload list: the state of its file, or nothing for a missing file or one
// that cannot be read.
std::vector<std::optional<TPublishState>> PublishStates(
    const TUploadList& list, const std::map<std::string, TPublishedFile>& published);

struct TPublishProgress {
  std::string Name;            // the file being uploaded or deleted
  std::int64_t FileBytes = 0;  // sent of it so far
  std::int64_t FileSize = 0;
  std::int64_t DoneBytes = 0;  // sent of the whole publish so far
  std::int64_t TotalBytes = 0;
  std::size_t Number = 0;  // the file's number (from 1) among Count uploads and deletions
  std::size_t Count = 0;
};

struct TPublishResult {
  std::vector<std::string> Uploaded;  // names, in the order they went up
  std::vector<std::string> Removed;
  std::int64_t UploadedBytes = 0;
  bool Cancelled = false;
  std::string Failure;  // why the publish stopped; "" when it did not fail
  bool Succeeded() const { return Failure.empty() && !Cancelled; }
};

class TPublisher {
 public:
  // folder and records outlive the publisher; url is the key of the records (the folder's
  // address).
  TPublisher(TRemoteFolder& folder, TPublishedFiles& records, std::string url);

  // Called before each file and while it goes up.
  std::function<void(const TPublishProgress&)> OnProgress;
  // Stops after the file at hand; what went up stays recorded.
  void Cancel() { cancelled_ = true; }

  // Uploads, then deletes, as planned. The first failure ends the publish (EPublishError,
  // EDatabaseError and file errors become TPublishResult::Failure).
  TPublishResult Run(const TPublishPlan& plan);

 private:
  void Report(TPublishProgress& progress);

  TRemoteFolder& folder_;
  TPublishedFiles& records_;
  std::string url_;
  bool cancelled_ = false;
};

// Bytes in whole KB for the publish's texts: a part of a KB counts as one, none as 0 KB.
std::int64_t KBRoundedUp(std::int64_t bytes);

// What a publish did, in one line: "3 files uploaded (120 KB), 1 deleted, 57 unchanged.", with
// "Stopped: " and the failure, or "Cancelled.", when it ended early.
std::string PublishSummary(const TPublishPlan& plan, const TPublishResult& result);

}  // namespace pagolin
