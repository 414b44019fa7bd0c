#include "core/platform/inifile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/platform/filenames.h"
#include "support/naive.h"

namespace pagolin {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/pagolin_ini_XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    file_ = dir_ + "/test.ini";
  }
  void TearDown() override {
    ::chmod(dir_.c_str(), 0700);
    std::filesystem::remove_all(dir_);
  }
  void Put(const std::string& text) { std::ofstream(file_, std::ios::binary) << text; }
  std::string Get() {
    std::string s, e;
    ReadWholeFile(file_, s, e);
    return s;
  }
  void Save(const TIniFile& ini) {
    std::string error;
    ASSERT_TRUE(ini.UpdateFile(error)) << error;
  }
  std::string dir_, file_;
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndNoError) {
  TIniFile ini(file_);
  EXPECT_EQ(ini.ReadError(), "");
  EXPECT_EQ(ini.ReadString("Settings", "X", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("Settings", "X", 7), 7);
  EXPECT_TRUE(ini.ReadBool("Settings", "X", true));
  EXPECT_FALSE(ini.SectionExists("Settings"));
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndValuesAreTrimmed) {
  Put("[settings]\r\n  uploadmethodftp =  1  \r\nName=  Jo Doe \t\r\n");
  TIniFile ini(file_);
  EXPECT_TRUE(ini.ReadBool("Settings", "UploadMethodFTP", false));
  EXPECT_EQ(ini.ReadString("SETTINGS", "NAME", ""), "Jo Doe");
  EXPECT_TRUE(ini.ValueExists("Settings", "name"));
}

TEST_F(IniFileTest, EmptyValueIsAValueNotTheDefault) {
  Put("[S]\nKey=\n");
  EXPECT_EQ(TIniFile(file_).ReadString("S", "Key", "def"), "");
}

TEST_F(IniFileTest, GarbageLinesCommentsAndKeysOutsideSectionsHoldNoKeys) {
  Put("Orphan=1\ngarbage without equals\n[S]\n; Key=comment\n\x01\x02 junk\n=novalue\nKey=yes\n");
  TIniFile ini(file_);
  EXPECT_EQ(ini.ReadString("S", "Key", ""), "yes");
  EXPECT_EQ(ini.ReadString("S", "; Key", "none"), "none");
  EXPECT_EQ(ini.ReadString("", "Orphan", "none"), "none");
}

TEST_F(IniFileTest, FirstOfDuplicateSectionsAndKeysCounts) {
  Put("[S]\nK=first\nK=second\n[s]\nK=third\nOther=x\n");
  TIniFile ini(file_);
  EXPECT_EQ(ini.ReadString("S", "K", ""), "first");
  EXPECT_EQ(ini.ReadString("S", "Other", "missing"), "missing");
}

TEST_F(IniFileTest, IntegersAndLogicals) {
  Put("[N]\nA=42\nB=-3\nC=+5\nD=12abc\nE=abc\nF=\nG=99999999999\nT=2\nZ=0\nH=0x10\n");
  TIniFile ini(file_);
  EXPECT_EQ(ini.ReadInteger("N", "A", 0), 42);
  EXPECT_EQ(ini.ReadInteger("N", "B", 0), -3);
  EXPECT_EQ(ini.ReadInteger("N", "C", 0), 5);
  EXPECT_EQ(ini.ReadInteger("N", "D", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "E", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "F", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "G", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "H", 7), 7);
  EXPECT_TRUE(ini.ReadBool("N", "T", false));  // any integer but 0
  EXPECT_FALSE(ini.ReadBool("N", "Z", true));
  EXPECT_TRUE(ini.ReadBool("N", "E", true));  // not a number: the default
  EXPECT_FALSE(ini.ReadBool("N", "E", false));
}

TEST_F(IniFileTest, UpdateKeepsOtherLinesAndOrderAndUpdatesInPlace) {
  Put("; my settings\n[A]\nx=1\nunknown line\ny=2\n\n[B]\nz=3\n");
  TIniFile ini(file_);
  ini.WriteString("a", "Y", "changed");
  ini.WriteInteger("A", "new", 5);
  ini.WriteBool("B", "flag", true);
  ini.WriteString("C", "c", "v");
  Save(ini);
  EXPECT_EQ(Get(),
            "; my settings\r\n[A]\r\nx=1\r\nunknown line\r\nY=changed\r\nnew=5\r\n\r\n"
            "[B]\r\nz=3\r\nflag=1\r\n\r\n[C]\r\nc=v\r\n");
  EXPECT_EQ(TIniFile(file_).ReadString("A", "y", ""), "changed");
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileWithCrLf) {
  TIniFile ini(file_);
  ini.WriteString("Settings", "FTPUploadFile", "/x");
  Save(ini);
  EXPECT_EQ(Get(), "[Settings]\r\nFTPUploadFile=/x\r\n");
}

TEST_F(IniFileTest, LineBreaksInAValueCannotSplitTheLine) {
  TIniFile ini(file_);
  ini.WriteString("S", "K", "one\r\ntwo");
  Save(ini);
  TIniFile again(file_);
  EXPECT_EQ(again.ReadString("S", "K", ""), "one  two");
  EXPECT_FALSE(again.SectionExists("two"));
}

TEST_F(IniFileTest, TextsTheCodePageHoldsAreWrittenInItAndOthersInUtf8) {
  TIniFile ini(file_);
  ini.WriteString("Languages", "Language1", "Français");
  Save(ini);
  EXPECT_EQ(Get(),
            "[Languages]\r\nLanguage1=Fran\xE7"
            "ais\r\n");  // as old sites have it
  EXPECT_EQ(TIniFile(file_).ReadString("Languages", "Language1", ""), "Français");
  TIniFile again(file_);
  again.WriteString("Languages", "Language2", "Polski: Łódź 中文 😀");
  Save(again);
  EXPECT_EQ(Get().substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(TIniFile(file_).ReadString("Languages", "Language2", ""), "Polski: Łódź 中文 😀");
  EXPECT_EQ(TIniFile(file_).ReadString("Languages", "Language1", ""), "Français");
}

TEST_F(IniFileTest, WriteIntoReadOnlyFolderIsReportedAndFileUnchanged) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
  Put("[S]\r\nK=old\r\n");
  ::chmod(dir_.c_str(), 0500);
  TIniFile ini(file_);
  ini.WriteString("S", "K", "new");
  std::string error;
  EXPECT_FALSE(ini.UpdateFile(error));
  EXPECT_NE(error.find(dir_), std::string::npos) << error;
  EXPECT_EQ(Get(), "[S]\r\nK=old\r\n");
}

TEST_F(IniFileTest, WriteIntoMissingFolderIsReported) {
  // Fails for every user, root included (the read-only case above needs a normal user).
  TIniFile ini(dir_ + "/gone/test.ini");
  ini.WriteString("S", "K", "v");
  std::string error;
  EXPECT_FALSE(ini.UpdateFile(error));
  EXPECT_EQ(error, "The folder \"" + dir_ + "/gone\" does not exist.");
}

TEST_F(IniFileTest, FileThatCannotBeReadIsReportedAndNeverOverwritten) {
  std::filesystem::create_directory(file_);  // a folder where the file should be
  TIniFile ini(file_);
  EXPECT_NE(ini.ReadError(), "");
  ini.WriteString("S", "K", "v");
  std::string error;
  EXPECT_FALSE(ini.UpdateFile(error));
  EXPECT_TRUE(DirectoryExists(file_));
}

// Random files and writes against the rules written the obvious way: duplicate sections and
// keys in any case, blank lines, comments, garbage and keys before the first section.
TEST(IniFileRules, MatchTheObviousLineByLineVersion) {
  char folder[] = "/tmp/pagolin_ini_rules_XXXXXX";
  ASSERT_NE(::mkdtemp(folder), nullptr);
  const std::string dir = folder;
  std::mt19937 rng(2024);
  const std::vector<std::string> pieces = {"[S]",       "[s] ", " [T]",  "[U", "k=1", " K = 2 ", "j=",
                                           "x = y = z", "=v",   "; k=9", "",   "  ",  "garbage", "[]"};
  const std::vector<std::string> names = {"S", "s", "T", "U", "V", "", " t "};
  const std::vector<std::string> keys = {"k", "K", "j", "x", "new", " n "};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int n = static_cast<int>(rng() % 12); n > 0; --n) text += pieces[rng() % pieces.size()] + "\r\n";
    const std::string file = dir + "/rules.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    TIniFile ini(file);
    test::TNaiveIni naive(text);
    for (int op = 0; op < 8; ++op) {
      const std::string& section = names[rng() % names.size()];
      const std::string& key = keys[rng() % keys.size()];
      if (rng() % 2) {
        const std::string value = "v" + std::to_string(op);
        ini.WriteString(section, key, value);
        naive.WriteString(section, key, value);
      }
      ASSERT_EQ(ini.ReadString(section, key, "-"), naive.ReadString(section, key, "-")) << text;
      ASSERT_EQ(ini.ReadSection(section), naive.ReadSection(section)) << text;
    }
    ASSERT_EQ(ini.Text(), naive.Text()) << text;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pagolin
