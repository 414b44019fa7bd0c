// Publishing without a server: what a publish plans, the order and records of a run, and how
// a failure, a cancel and DeleteRemoved end, against a folder kept in memory that can break at
// any step.
#include "core/publish/publisher.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/publish/sha256.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

using testing::TTempFolder;
using testing::WriteBytes;

// A server's folder in memory. Store breaks at the call numbered failAt (from 1), as a lost
// connection would, leaving at most the temporary file behind.
class TMemoryFolder : public TRemoteFolder {
 public:
  void Store(const std::string& localPath, const std::string& name, std::int64_t size,
             const TByteProgress& progress) override {
    if (++stores == failAt) {
      files[TemporaryName(name)] = "half";
      throw EPublishError("connection lost");
    }
    if (progress) progress(size);
    files[name] = testing::ReadText(localPath);
    order.push_back(name);
  }
  void Remove(const std::string& name) override {
    files.erase(name);
    removed.push_back(name);
  }
  std::vector<std::string> List() override {
    const std::set<std::string> names = Names();
    return {names.begin(), names.end()};
  }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& [name, content] : files) names.insert(name);
    return names;
  }
  std::map<std::string, std::string> files;
  std::vector<std::string> order, removed;
  int stores = 0, failAt = 0;
};

class PublisherTest : public ::testing::Test {
 protected:
  // A site file of the given content in the temporary folder.
  TSiteFile File(const std::string& name, const std::string& content,
                 TSiteFileKind kind = TSiteFileKind::sfOther) {
    WriteBytes(dir_.Path() + name, content);
    return {name, dir_.Path() + name, static_cast<std::int64_t>(content.size()), kind};
  }
  std::vector<std::string> Names(const std::vector<TSiteFile>& files) {
    std::vector<std::string> names;
    for (const TSiteFile& f : files) names.push_back(f.Path);
    return names;
  }
  TPublishResult Publish(const std::vector<TSiteFile>& files, bool deleteRemoved = false) {
    const TPublishPlan plan = PlanPublish(files, Names(files), records_.ForUrl(kUrl), deleteRemoved);
    TPublisher publisher(folder_, records_, kUrl);
    return publisher.Run(plan);
  }

  static constexpr const char* kUrl = "sftp://example.net:22/www/";
  TTempFolder dir_;
  TPublishedFiles records_{dir_.Path()};
  TMemoryFolder folder_;
};

TEST_F(PublisherTest, PlanSortsNewChangedAndPublishedFilesAndSendsAFileBeforeThoseLinkingToIt) {
  const auto page = TSiteFileKind::sfLanguagePage;
  const std::vector<TSiteFile> files{File("index.htm", "home", TSiteFileKind::sfTitlePage),
                                     File("index2.htm", "two", page),
                                     File("index2.xml", "feed", TSiteFileKind::sfFeed),
                                     File("a.zip", "zip"),
                                     File("b.gif", "gif changed"),
                                     File("c.gif", "same"),
                                     File("index1.htm", "one", page)};
  const std::map<std::string, TPublishedFile> published{{"b.gif", {3, HexText(Sha256("gif"))}},
                                                        {"c.gif", {4, HexText(Sha256("same"))}},
                                                        {"gone.gif", {1, HexText(Sha256("x"))}}};
  const TPublishPlan plan = PlanPublish(files, Names(files), published, false);
  std::vector<std::pair<std::string, TPublishState>> uploads;
  for (const TPublishItem& item : plan.Uploads) uploads.emplace_back(item.File.Name, item.State);
  EXPECT_EQ(uploads,
            (std::vector<std::pair<std::string, TPublishState>>{{"a.zip", TPublishState::psNew},
                                                                {"b.gif", TPublishState::psChanged},
                                                                {"index2.htm", TPublishState::psNew},
                                                                {"index1.htm", TPublishState::psNew},
                                                                {"index.htm", TPublishState::psNew},
                                                                {"index2.xml", TPublishState::psNew}}));
  EXPECT_EQ(plan.Unchanged, 1u);
  EXPECT_EQ(plan.UploadBytes, 3 + 11 + 3 + 3 + 4 + 4);
  EXPECT_TRUE(plan.Removals.empty());  // only with DeleteRemoved
  EXPECT_EQ(PlanPublish(files, Names(files), published, true).Removals, std::vector<std::string>{"gone.gif"});
}

TEST_F(PublisherTest, AMissingFileOfTheListIsNotRemoved) {
  const std::map<std::string, TPublishedFile> published{{"shot.gif", {1, HexText(Sha256("x"))}}};
  // shot.gif is listed but not present: it stays on the server.
  EXPECT_TRUE(PlanPublish({}, {dir_.Path() + "shot.gif"}, published, true).Removals.empty());
}

TEST_F(PublisherTest, ALostConnectionKeepsWhatWentUpAndTheNextPublishSendsTheRest) {
  const std::vector<TSiteFile> files{File("a.gif", "aaa"), File("b.gif", "bbb"),
                                     File("index.htm", "home", TSiteFileKind::sfTitlePage)};
  folder_.failAt = 2;
  const TPublishResult broken = Publish(files);
  EXPECT_EQ(broken.Failure, "connection lost");
  EXPECT_EQ(broken.Uploaded, std::vector<std::string>{"a.gif"});
  EXPECT_EQ(records_.ForUrl(kUrl).size(), 1u);
  EXPECT_FALSE(folder_.files.count("b.gif"));  // never half under its own name

  folder_.failAt = 0;
  const TPublishResult next = Publish(files);
  EXPECT_TRUE(next.Succeeded()) << next.Failure;
  EXPECT_EQ(next.Uploaded, (std::vector<std::string>{"b.gif", "index.htm"}));
  EXPECT_EQ(folder_.files["b.gif"], "bbb");
  EXPECT_TRUE(Publish(files).Uploaded.empty());  // and then nothing is left to send
}

TEST_F(PublisherTest, CancelStopsAfterTheFileAtHand) {
  const std::vector<TSiteFile> files{File("a.gif", "a"), File("b.gif", "b"), File("c.gif", "c")};
  const TPublishPlan plan = PlanPublish(files, Names(files), {}, false);
  TPublisher publisher(folder_, records_, kUrl);
  std::vector<std::string> started;
  publisher.OnProgress = [&](const TPublishProgress& p) {
    if (p.FileBytes == 0) started.push_back(p.Name);
    if (p.Number == 2) publisher.Cancel();
  };
  const TPublishResult result = publisher.Run(plan);
  EXPECT_TRUE(result.Cancelled);
  EXPECT_EQ(result.Uploaded, (std::vector<std::string>{"a.gif", "b.gif"}));
  EXPECT_EQ(started, (std::vector<std::string>{"a.gif", "b.gif"}));
  EXPECT_EQ(records_.ForUrl(kUrl).size(), 2u);
}

TEST_F(PublisherTest, DeleteRemovedDeletesOnlyWhatWasPublishedAndForgetsWhatIsGoneAlready) {
  const TSiteFile keep = File("keep.gif", "k");
  ASSERT_TRUE(Publish({keep, File("old.gif", "o"), File("gone.gif", "g")}).Succeeded());
  folder_.files["foreign.htm"] = "not ours";
  folder_.files.erase("gone.gif");  // deleted by hand meanwhile
  const TPublishResult result = Publish({keep}, true);
  EXPECT_TRUE(result.Succeeded()) << result.Failure;
  EXPECT_EQ(folder_.removed, std::vector<std::string>{"old.gif"});
  EXPECT_EQ(result.Removed, (std::vector<std::string>{"gone.gif", "old.gif"}));
  EXPECT_EQ(folder_.Names(), (std::set<std::string>{"foreign.htm", "keep.gif"}));
  EXPECT_EQ(records_.ForUrl(kUrl).size(), 1u);
}

TEST_F(PublisherTest, RecordsAreKeptPerFolderAddress) {
  ASSERT_TRUE(Publish({File("a.gif", "a")}).Succeeded());
  EXPECT_EQ(records_.ForUrl(kUrl).at("a.gif"), (TPublishedFile{1, HexText(Sha256("a"))}));
  EXPECT_TRUE(records_.ForUrl("ftps://other.example.net:21/www/").empty());  // another address starts anew
  records_.Forget(kUrl, "a.gif");
  EXPECT_TRUE(records_.ForUrl(kUrl).empty());
  // Reading a site that never published makes no file.
  TPublishedFiles fresh(dir_.Path() + "nowhere");
  EXPECT_TRUE(fresh.ForUrl(kUrl).empty());
  EXPECT_FALSE(FileExists(fresh.FileName()));
}

TEST(Sha256Test, KnownDigestsOfTextAndFile) {
  EXPECT_EQ(HexText(Sha256("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  TTempFolder dir;
  const std::string big(200000, 'a');  // more than one read of the file
  WriteBytes(dir.Path() + "f", big);
  std::string digest, error;
  ASSERT_TRUE(FileSha256(dir.Path() + "f", digest, error)) << error;
  EXPECT_EQ(digest, HexText(Sha256(big)));
  EXPECT_FALSE(FileSha256(dir.Path() + "missing", digest, error));
  EXPECT_NE(error.find("missing"), std::string::npos);
}

}  // namespace
}  // namespace pagolin
