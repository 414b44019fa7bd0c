#include "core/pages/imagetags.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include "core/pages/fileinfo.h"
#include "core/platform/datetime.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

using testing::GifBytes;
using testing::TTempFolder;
using testing::WriteBytes;

TEST(FileInfo, SizeInKbRoundsHalvesToEven) {
  TTempFolder dir;
  const struct {
    size_t bytes;
    std::int64_t kb;
  } cases[] = {{0, 0},    {511, 0},  {512, 0},  {513, 1},       {1024, 1},
               {1536, 2}, {2560, 2}, {2561, 3}, {12 * 1024, 12}};
  for (const auto& c : cases) {
    WriteBytes(dir.Path() + "f.bin", std::string(c.bytes, 'x'));
    EXPECT_EQ(GetFileSizeKB(dir.Path() + "f.bin"), c.kb) << c.bytes << " bytes";
  }
}

TEST(FileInfo, MissingFoldersAndHiddenFilesHaveNoSizeOrDate) {
  TTempFolder dir;
  WriteBytes(dir.Path() + ".hidden", std::string(4096, 'x'));
  EXPECT_EQ(GetFileSizeKB(dir.Path() + ".hidden"), 0);
  EXPECT_EQ(GetFileDate(dir.Path() + ".hidden"), 0.0);
  EXPECT_EQ(GetFileSizeKB(dir.Path() + "missing.zip"), 0);
  EXPECT_EQ(GetFileDate(dir.Path() + "missing.zip"), 0.0);
  EXPECT_EQ(GetFileSizeKB(dir.Path()), 0);
  EXPECT_EQ(GetFileDate(ExcludeTrailingPathDelimiter(dir.Path())), 0.0);
}

TEST(FileInfo, OneLookSaysWhatTheThreeQuestionsSay) {
  TTempFolder dir;
  WriteBytes(dir.Path() + "f.zip", std::string(1536, 'x'));
  WriteBytes(dir.Path() + ".hidden", std::string(4096, 'x'));
  for (const std::string& path : {dir.Path() + "f.zip", dir.Path() + ".hidden", dir.Path() + "missing.zip",
                                  dir.Path(), ExcludeTrailingPathDelimiter(dir.Path()), std::string()}) {
    const TFileFacts facts = LookAtFile(path);
    EXPECT_EQ(facts.exists, FileExists(path)) << path;
    EXPECT_EQ(facts.sizeKB, GetFileSizeKB(path)) << path;
    EXPECT_EQ(facts.date, GetFileDate(path)) << path;
  }
  EXPECT_EQ(LookAtFile(dir.Path() + "f.zip").sizeKB, 2);
  EXPECT_TRUE(LookAtFile(dir.Path() + ".hidden").exists);  // there, but no size or date of its own
}

TEST(FileInfo, SizesBeyondFourGigabytesAreReadWhole) {
  TTempFolder dir;
  const std::string file = dir.Path() + "big.iso";
  WriteBytes(file, "");
  // A sparse file: takes no space, reports 5 GB.
  ASSERT_EQ(::truncate(file.c_str(), 5LL * 1024 * 1024 * 1024), 0);
  EXPECT_EQ(GetFileSizeKB(file), 5LL * 1024 * 1024);
}

TEST(FileInfo, DateIsTheLastWriteTimeInLocalTimeToTheEvenSecond) {
  TTempFolder dir;
  const std::string file = dir.Path() + "setup.zip";
  WriteBytes(file, "x");
  std::tm tm{};
  tm.tm_year = 1998 - 1900;
  tm.tm_mon = 2;
  tm.tm_mday = 6;
  tm.tm_hour = 14;
  tm.tm_min = 5;
  tm.tm_sec = 9;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  struct utimbuf times {
    t, t
  };
  ASSERT_EQ(::utime(file.c_str(), &times), 0);
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn:ss", GetFileDate(file)), "06.03.1998 14:05:08");
}

TEST(ImageTags, GifSizeComesFromTheHeaderWhateverTheCaseOfTheExtension) {
  TTempFolder dir;
  WriteBytes(dir.Path() + "SHOT.Gif", GifBytes(320, 200));
  EXPECT_EQ(GifSizeAttributes(dir.Path() + "SHOT.Gif"), " WIDTH=320 HEIGHT=200");
  WriteBytes(dir.Path() + "dot.gif", GifBytes(1, 1));
  EXPECT_EQ(GifSizeAttributes(dir.Path() + "dot.gif"), " WIDTH=1 HEIGHT=1");
  WriteBytes(dir.Path() + "wide.gif", GifBytes(65535, 258));
  EXPECT_EQ(GifSizeAttributes(dir.Path() + "wide.gif"), " WIDTH=65535 HEIGHT=258");
  // The extension alone decides.
  WriteBytes(dir.Path() + "photo.gif", std::string("\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01", 13));
  EXPECT_EQ(GifSizeAttributes(dir.Path() + "photo.gif"), " WIDTH=17994 HEIGHT=17993");
  WriteBytes(dir.Path() + "real.png", GifBytes(5, 5));
  EXPECT_EQ(GifSizeAttributes(dir.Path() + "real.png"), "");
}

TEST(ImageTags, UnreadableOrShortGifsGetNoSize) {
  TTempFolder dir;
  EXPECT_EQ(GifSizeAttributes(dir.Path() + "missing.gif"), "");
  WriteBytes(dir.Path() + "short.gif", "GIF89a\x10");
  EXPECT_EQ(GifSizeAttributes(dir.Path() + "short.gif"), "");
  WriteBytes(dir.Path() + "empty.gif", "");
  EXPECT_EQ(GifSizeAttributes(dir.Path() + "empty.gif"), "");
  WriteBytes(dir.Path() + "ten.gif", GifBytes(7, 9).substr(0, 10));
  EXPECT_EQ(GifSizeAttributes(dir.Path() + "ten.gif"), " WIDTH=7 HEIGHT=9");
  std::filesystem::create_directory(dir.Path() + "folder.gif");
  EXPECT_EQ(GifSizeAttributes(dir.Path() + "folder.gif"), "");
}

TEST(ImageTags, ProductTagHasSizeAndKbInAlt) {
  TTempFolder dir;
  WriteBytes(dir.Path() + "shot.gif", GifBytes(320, 200, 12 * 1024));
  EXPECT_EQ(ImageTag("shot.gif", dir.Path() + "shot.gif", "Editor"),
            "<IMG SRC=\"shot.gif\" WIDTH=320 HEIGHT=200 BORDER=0 Alt=\"Editor (12K)\">");
}

TEST(ImageTags, ReplaceImageLinksTheTagAndListsTheFileInTheFirstLanguageOnly) {
  TTempFolder dir;
  WriteBytes(dir.Path() + "logo.jpg", std::string(3 * 1024, 'j'));
  std::vector<std::string> files;
  const std::string row = "<TD>%IMAGE%</TD><TD>%IMAGE%</TD>";
  const std::string tag = "<A HREF=\"tools.htm\"><IMG SRC=\"logo.jpg\" BORDER=0 Alt=\"Tools (3K)\"></A>";
  EXPECT_EQ(ReplaceImage(row, "logo.jpg", "Tools", "tools.htm", dir.Path(), &files),
            "<TD>" + tag + "</TD><TD>" + tag + "</TD>");
  EXPECT_EQ(files, std::vector<std::string>{dir.Path() + "logo.jpg"});
  // The second language pass: same tag, nothing listed.
  EXPECT_EQ(ReplaceImage(row, "logo.jpg", "Tools", "tools.htm", dir.Path(), nullptr),
            "<TD>" + tag + "</TD><TD>" + tag + "</TD>");
  EXPECT_EQ(files.size(), 1u);
}

TEST(ImageTags, NoImageNamedGivesNoTagAndListsNothing) {
  TTempFolder dir;
  std::vector<std::string> files;
  EXPECT_EQ(ReplaceImage("[%IMAGE%] %URL%", "", "Tools", "tools.htm", dir.Path(), &files), "[] %URL%");
  EXPECT_TRUE(files.empty());
}

TEST(ImageTags, MissingImageStillGetsATagAndIsListed) {
  TTempFolder dir;
  std::vector<std::string> files;
  EXPECT_EQ(ReplaceImage("%IMAGE%", "gone.gif", "A&B &lt;new&gt;", "", dir.Path(), &files),
            "<IMG SRC=\"gone.gif\" BORDER=0 Alt=\"A&B &lt;new&gt; (0K)\">");
  EXPECT_EQ(files, std::vector<std::string>{dir.Path() + "gone.gif"});
}

// A name with letters beyond ASCII: the page gets the text, the file system its own bytes; a
// pipe named like an image counts as missing instead of stopping the build.
TEST(ImageTags, NamesAreTextInThePageAndFileSystemBytesOnDisk) {
  TTempFolder dir;
  WriteBytes(dir.Path() + "b\xc3\xa4r.gif", GifBytes(16, 8, 2048));  // "bär.gif" in UTF-8
  std::vector<std::string> files;
  EXPECT_EQ(ReplaceImage("%IMAGE%", "bär.gif", "B", "", dir.Path(), &files),
            "<IMG SRC=\"bär.gif\" WIDTH=16 HEIGHT=8 BORDER=0 Alt=\"B (2K)\">");
  EXPECT_EQ(files, std::vector<std::string>{dir.Path() + "b\xc3\xa4r.gif"});
  ASSERT_EQ(::mkfifo((dir.Path() + "pipe.gif").c_str(), 0600), 0);
  EXPECT_EQ(ImageTag("pipe.gif", dir.Path() + "pipe.gif", "P"),
            "<IMG SRC=\"pipe.gif\" BORDER=0 Alt=\"P (0K)\">");
}

}  // namespace
}  // namespace pagolin
