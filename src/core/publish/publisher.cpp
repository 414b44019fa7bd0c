#include "core/publish/publisher.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "core/platform/filenames.h"
#include "core/publish/sha256.h"

namespace pagolin {

const char* PublishStateText(TPublishState state) {
  switch (state) {
    case TPublishState::psNew: return "new";
    case TPublishState::psChanged: return "changed";
    case TPublishState::psPublished: return "published";
  }
  return "";
}

TPublishItem ComparedFile(const TSiteFile& file, const std::map<std::string, TPublishedFile>& published) {
  TPublishItem item{file, {file.Size, {}}, TPublishState::psNew};
  std::string error;
  if (!FileSha256(file.Path, item.Facts.Sha256, error)) throw EPublishError(error);
  if (const auto it = published.find(file.Name); it != published.end())
    item.State = it->second == item.Facts ? TPublishState::psPublished : TPublishState::psChanged;
  return item;
}

TPublishPlan PlanPublish(const std::vector<TSiteFile>& present, const std::vector<std::string>& listed,
                         const std::map<std::string, TPublishedFile>& published, bool deleteRemoved) {
  TPublishPlan plan;
  for (const TSiteFile& file : present) {
    TPublishItem item = ComparedFile(file, published);
    if (item.State == TPublishState::psPublished) {
      ++plan.Unchanged;
      continue;
    }
    plan.UploadBytes += item.Facts.Size;
    plan.Uploads.push_back(std::move(item));
  }
  // A file goes up before the files that link to it: downloads and images, the language pages,
  // the home page, the feeds and the sitemap.
  std::stable_sort(plan.Uploads.begin(), plan.Uploads.end(),
                   [](const TPublishItem& a, const TPublishItem& b) { return a.File.Kind < b.File.Kind; });
  if (deleteRemoved) {
    std::set<std::string> names;
    for (const std::string& path : listed) names.insert(ExtractFileName(path));
    for (const auto& [name, facts] : published)
      if (!names.count(name)) plan.Removals.push_back(name);
  }
  return plan;
}

std::vector<std::optional<TPublishState>> PublishStates(
    const TUploadList& list, const std::map<std::string, TPublishedFile>& published) {
  std::vector<std::optional<TPublishState>> states;
  std::map<std::string, std::optional<TPublishState>> seen;  // a file listed twice is read once
  for (const TUploadItem& item : list.Items) {
    auto [it, fresh] = seen.try_emplace(item.Path);
    if (fresh && item.Checked) {
      try {
        it->second = ComparedFile({ExtractFileName(item.Path), item.Path, FileSizeOf(item.Path),
                                   TSiteFileKind::sfOther},
                                  published)
                         .State;
      } catch (const EPublishError&) {
      }
    }
    states.push_back(it->second);
  }
  return states;
}

TPublisher::TPublisher(TRemoteFolder& folder, TPublishedFiles& records, std::string url)
    : folder_(folder), records_(records), url_(std::move(url)) {}

void TPublisher::Report(TPublishProgress& progress) {
  if (OnProgress) OnProgress(progress);
}

TPublishResult TPublisher::Run(const TPublishPlan& plan) {
  TPublishResult result;
  TPublishProgress progress;
  progress.TotalBytes = plan.UploadBytes;
  progress.Count = plan.Uploads.size() + plan.Removals.size();
  try {
    // One kind after the other: a page goes up only once what it shows is there.
    std::int64_t completed = 0;  // bytes of the files in place
    for (size_t first = 0; first < plan.Uploads.size() && !cancelled_;) {
      size_t end = first;
      std::vector<TStoreJob> jobs;
      for (; end < plan.Uploads.size() && plan.Uploads[end].File.Kind == plan.Uploads[first].File.Kind; ++end)
        jobs.push_back(
            {plan.Uploads[end].File.Path, plan.Uploads[end].File.Name, plan.Uploads[end].Facts.Size});
      folder_.StoreAll(
          jobs, [this] { return !cancelled_; },
          [&](std::size_t job, std::int64_t sent) {
            if (sent == 0) ++progress.Number;
            progress.Name = jobs[job].Name;
            progress.FileSize = jobs[job].Size;
            progress.FileBytes = sent;
            progress.DoneBytes = completed + sent;
            Report(progress);
          },
          [&](std::size_t job) {
            const TPublishItem& item = plan.Uploads[first + job];
            records_.Record(url_, item.File.Name, item.Facts);
            result.Uploaded.push_back(item.File.Name);
            result.UploadedBytes += item.Facts.Size;
            completed += item.Facts.Size;
          });
      first = end;
    }
    if (!plan.Removals.empty() && !cancelled_) {
      // Only what is still there is deleted: a file removed by hand is just forgotten.
      std::set<std::string> there;
      try {
        const std::vector<std::string> names = folder_.List();
        there.insert(names.begin(), names.end());
      } catch (const ERemoteFolderMissing&) {
      }
      for (const std::string& name : plan.Removals) {
        if (cancelled_) break;
        progress.Name = name;
        progress.FileSize = progress.FileBytes = 0;
        ++progress.Number;
        Report(progress);
        if (there.count(name)) folder_.Remove(name);
        records_.Forget(url_, name);
        result.Removed.push_back(name);
      }
    }
  } catch (const std::exception& e) {
    result.Failure = e.what();
  }
  result.Cancelled =
      cancelled_ && result.Failure.empty() && result.Uploaded.size() + result.Removed.size() < progress.Count;
  return result;
}

std::int64_t KBRoundedUp(std::int64_t bytes) { return (bytes + 1023) / 1024; }

std::string PublishSummary(const TPublishPlan& plan, const TPublishResult& result) {
  const auto files = [](std::size_t n) { return std::to_string(n) + (n == 1 ? " file" : " files"); };
  std::string text = files(result.Uploaded.size()) + " uploaded (" +
                     std::to_string(KBRoundedUp(result.UploadedBytes)) + " KB), " +
                     std::to_string(result.Removed.size()) + " deleted, " + std::to_string(plan.Unchanged) +
                     " unchanged.";
  if (!result.Failure.empty()) return "Stopped: " + result.Failure + " " + text;
  if (result.Cancelled) return "Cancelled. " + text;
  return text;
}

}  // namespace pagolin
