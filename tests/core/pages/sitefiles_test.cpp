// The site's files without a build, the files present, and the upload archive made of them.
#include "core/pages/sitefiles.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "core/pages/pagebuilder.h"
#include "core/pages/uploadarchive.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

using testing::ReadText;
using testing::TBuildSite;
using testing::WriteBytes;

// The output of a shell command and its exit status.
std::pair<std::string, int> Shell(const std::string& command) {
  std::string out;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
  return {out, WEXITSTATUS(::pclose(pipe))};
}

class SiteFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site_.AddProduct("B", "2", "b.zip", "b.gif", "", "");
    site_.AddProduct("A", "1", "", "a.gif", "", "");  // listed first: the walk is by category
    site_.AddProduct("Out", "1", "out.zip", "out.gif", "", "", false);
    site_.AddProduct("C", "3", "c.zip", "b.gif", "", "");  // the same image twice
    site_.AddLink("Web", "L", "u", "l.jpg", "", "");
    site_.AddLink("Web", "Plain", "u", "", "", "");
  }
  TBuildSite site_;
};

TEST_F(SiteFilesTest, TheListWithoutABuildIsTheListABuildMakes) {
  for (const char* address : {"", "https://example.net/"}) {  // with an address: feeds and sitemap
    site_.Settings().SiteURL = address;
    const std::vector<std::string> listed = SiteFileList(site_.Data(), site_.Settings());
    TPageBuilder builder(site_.Data(), site_.Settings());
    builder.BuildPages();
    EXPECT_EQ(listed, builder.FileList) << address;
    EXPECT_EQ(listed.size(), 3u + 6u + (*address ? 3u : 0u)) << address;
  }
}

TEST_F(SiteFilesTest, PresentFilesAreEachNamedOnceWithTheirKinds) {
  TPageBuilder builder(site_.Data(), site_.Settings());
  builder.BuildPages();
  const std::string s = site_.Site();
  WriteBytes(s + "b.gif", "gif");
  WriteBytes(s + "c.zip", "zip!");
  const std::vector<TSiteFile> present = PresentFiles(builder.FileList, site_.Settings());
  std::vector<std::string> names;
  for (const TSiteFile& f : present) names.push_back(f.Name + std::string(static_cast<size_t>(f.Kind), '*'));
  EXPECT_EQ(names, (std::vector<std::string>{"index.htm**", "index2.htm*", "b.gif", "c.zip", "index1.htm*"}));
  EXPECT_EQ(present[3], (TSiteFile{"c.zip", s + "c.zip", 4, TSiteFileKind::sfOther}));
}

TEST_F(SiteFilesTest, TheArchiveHoldsThePresentFilesAndReadsBackWithUnzip) {
  const std::string s = site_.Site();
  WriteBytes(s + "b.gif", std::string(5000, 'g'));
  WriteBytes(s + "l.jpg", "jpeg");
  WriteBytes(s + "upload.zip", "an old archive");
  TPageBuilder builder(site_.Data(), site_.Settings());
  builder.BuildPages();
  std::string error;
  ASSERT_TRUE(UpdateUploadArchive(builder.FileList, site_.Settings(), error)) << error;
  EXPECT_EQ(Shell("unzip -tq '" + s + "upload.zip'").second, 0);
  for (const TSiteFile& f : PresentFiles(builder.FileList, site_.Settings()))
    EXPECT_EQ(Shell("unzip -p '" + s + "upload.zip' '" + f.Name + "'").first, ReadText(f.Path)) << f.Name;
  EXPECT_EQ(Shell("unzip -Z1 '" + s + "upload.zip' | wc -l").first, "5\n");
}

TEST_F(SiteFilesTest, AFailedArchiveLeavesTheOldOneAndNothingElse) {
  const std::string s = site_.Site();
  WriteBytes(s + "upload.zip", "an old archive");
  const std::vector<TSiteFile> vanished{{"gone.gif", s + "gone.gif", 3, TSiteFileKind::sfOther}};
  std::string error;
  EXPECT_FALSE(WriteUploadArchive(vanished, s + "upload.zip", error));
  EXPECT_NE(error.find("upload.zip"), std::string::npos) << error;
  EXPECT_EQ(ReadText(s + "upload.zip"), "an old archive");
  EXPECT_FALSE(FileExists(s + "upload.zip.tmp1"));
  // The FTP method has no archive to write.
  site_.Settings().UploadMethodFTP = true;
  EXPECT_TRUE(UpdateUploadArchive({s + "gone.gif"}, site_.Settings(), error));
  EXPECT_EQ(ReadText(s + "upload.zip"), "an old archive");
}

TEST_F(SiteFilesTest, AnEmptyListGivesAnEmptyArchiveThatUnzipReads) {
  std::string error;
  ASSERT_TRUE(WriteUploadArchive({}, site_.Site() + "empty.zip", error)) << error;
  // unzip takes it for what it is, an archive without files, not for a damaged one.
  EXPECT_NE(Shell("unzip -t '" + site_.Site() + "empty.zip' 2>&1").first.find("zipfile is empty"),
            std::string::npos);
}

}  // namespace
}  // namespace pagolin
