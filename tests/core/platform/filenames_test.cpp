#include "core/platform/filenames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace pagolin {
namespace {

TEST(FileNames, PartsOfAPath) {
  EXPECT_EQ(ExtractFilePath("/site/out/index.htm"), "/site/out/");
  EXPECT_EQ(ExtractFilePath("upload.zip"), "");
  EXPECT_EQ(ExtractFileName("/site/out/index.htm"), "index.htm");
  EXPECT_EQ(ExtractFileName("/site/out/"), "");
  EXPECT_EQ(ExtractFileExt("/a.b/c"), "");
  EXPECT_EQ(ExtractFileExt("/a/product.DB"), ".DB");
  EXPECT_EQ(ChangeFileExt("/opt/pagolin", ".ini"), "/opt/pagolin.ini");
  EXPECT_EQ(ChangeFileExt("/opt/x.exe", ".ini"), "/opt/x.ini");
  EXPECT_EQ(ChangeFileExt("/o.d/x", ".ini"), "/o.d/x.ini");
}

TEST(FileNames, TrailingDelimiterAddedAndRemovedOnce) {
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a//"), "/a/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(""), "");
}

TEST(FileNames, AtomicWriteReplacesWholeFileAndReportsFailure) {
  const auto dir = std::filesystem::temp_directory_path() / "pagolin_fn_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "f.txt").string();
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file, "first version", error)) << error;
  ASSERT_TRUE(WriteFileAtomically(file, "2nd", error)) << error;
  std::string contents;
  ASSERT_TRUE(ReadWholeFile(file, contents, error));
  EXPECT_EQ(contents, "2nd");
  EXPECT_EQ(FileSizeOf(file), 3);
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir.string()));
  EXPECT_TRUE(DirectoryExists(dir.string()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "no temporary left";

  EXPECT_FALSE(WriteFileAtomically((dir / "missing" / "f.txt").string(), "x", error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
  EXPECT_EQ(FileSizeOf((dir / "nothing").string()), -1);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pagolin
