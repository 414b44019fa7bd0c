#include "core/pages/uploadlist.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <filesystem>

#include "core/data/settings.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

using testing::TTempFolder;
using testing::WriteBytes;

// Sets a file's last-write time to now + offset seconds.
void Touch(const std::string& file, long offset) {
  const std::time_t t = std::time(nullptr) + offset;
  struct utimbuf times {
    t, t
  };
  ASSERT_EQ(::utime(file.c_str(), &times), 0);
}

class UploadListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(out_ + "www");
    std::filesystem::create_directories(out_ + "zip");
    settings_.WWWHomepageFile = "index.htm";
    settings_.FTPUploadFile = out_ + "www";
    settings_.ZIPUploadFile = out_ + "zip" + PathDelim + "upload.zip";
  }
  std::vector<std::string> Files(const std::string& folder, std::vector<std::string> names) {
    for (std::string& n : names) n = folder + n;
    return names;
  }

  TTempFolder dir_;
  std::string out_ = dir_.Path();
  TSettings settings_{dir_.Path()};
};

TEST_F(UploadListTest, FtpMethodLooksInTheOutputFolderAndAddsNoNotes) {
  settings_.UploadMethodFTP = true;
  const std::string www = settings_.OutputFolder();
  ASSERT_EQ(www, out_ + "www" + PathDelim);
  WriteBytes(www + "index.htm", std::string(1536, 'x'));
  WriteBytes(www + "Shot.gif", std::string(2048, 'x'));
  // The archive's folder holds other files, which must not count.
  WriteBytes(out_ + "zip/upload.zip", "zip");
  WriteBytes(out_ + "zip/setup.zip", std::string(100 * 1024, 'x'));
  const TUploadList list =
      MakeUploadList(Files(www, {"index.htm", "setup.zip", "Shot.gif", "Shot.gif"}), settings_);
  EXPECT_EQ(list.Items,
            (std::vector<TUploadItem>{
                {"index.htm", true}, {"setup.zip", false}, {"Shot.gif", true}, {"Shot.gif", true}}));
  EXPECT_EQ(list.TotalKB, 2 + 2 + 2);  // 1,536 bytes are 2 KB; the image counts twice
  EXPECT_EQ(UsedSpaceText(list.TotalKB), "6 KB");
}

TEST_F(UploadListTest, ArchiveMethodNotesNewerAndMissingFiles) {
  const std::string zip = settings_.OutputFolder();
  ASSERT_EQ(zip, out_ + "zip" + PathDelim);
  WriteBytes(zip + "upload.zip", "zip");
  Touch(zip + "upload.zip", -3600);
  WriteBytes(zip + "index.htm", "page");  // written by this build: newer than the archive
  WriteBytes(zip + "old.gif", std::string(4096, 'g'));
  Touch(zip + "old.gif", -7200);
  const TUploadList list = MakeUploadList(Files(zip, {"index.htm", "old.gif", "shot.gif"}), settings_);
  EXPECT_EQ(list.Items,
            (std::vector<TUploadItem>{{"old.gif", true},
                                      {"Please build this file: shot.gif", false},
                                      {"Please include this file in UPLOAD.ZIP: index.htm", true}}));
  EXPECT_EQ(list.TotalKB, 4);
}

TEST_F(UploadListTest, ArchiveMethodWithoutArchiveYetAddsNoNotes) {
  const std::string zip = settings_.OutputFolder();
  WriteBytes(zip + "index.htm", "page");
  const TUploadList list = MakeUploadList(Files(zip, {"index.htm", "gone.gif"}), settings_);
  EXPECT_EQ(list.Items, (std::vector<TUploadItem>{{"gone.gif", false}, {"index.htm", true}}));
}

TEST_F(UploadListTest, SortsWithoutRegardToCaseAndKeepsEqualTextsInOrder) {
  settings_.UploadMethodFTP = true;
  const std::string www = settings_.OutputFolder();
  WriteBytes(www + "b.gif", "b");
  const TUploadList list =
      MakeUploadList(Files(www, {"C.htm", "b.gif", "a.zip", "B.gif", "z.gif"}), settings_);
  std::vector<std::string> texts;
  for (const TUploadItem& item : list.Items) texts.push_back(item.Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"a.zip", "b.gif", "B.gif", "C.htm", "z.gif"}));
  EXPECT_TRUE(list.Items[1].Checked);
  EXPECT_FALSE(list.Items[2].Checked);

  // Accented letters of Windows-1252 fold as well and sort after the plain letters, in the code
  // page's order; other letters (Polish, Cyrillic) fold too and come after those; a name sorts
  // before the longer names it begins.
  const TUploadList accented =
      MakeUploadList(Files(www, {"Ärger.gif", "äpfel.gif", "šb.gif", "Ša.gif", "Z.gif", "łza.gif", "Łódź.gif",
                                 "Дом.gif", "да.gif", "a.zip", "a"}),
                     settings_);
  texts.clear();
  for (const TUploadItem& item : accented.Items) texts.push_back(item.Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"a", "a.zip", "Z.gif", "Ša.gif", "šb.gif", "äpfel.gif",
                                             "Ärger.gif", "łza.gif", "Łódź.gif", "да.gif", "Дом.gif"}));
}

TEST_F(UploadListTest, EmptyFileListGivesAnEmptyList) {
  const TUploadList list = MakeUploadList({}, settings_);
  EXPECT_TRUE(list.Items.empty());
  EXPECT_EQ(list.TotalKB, 0);
}

}  // namespace
}  // namespace pagolin
