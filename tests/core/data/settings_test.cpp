#include "core/data/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/platform/filenames.h"
#include "core/platform/inifile.h"

namespace pagolin {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/pagolin_settings_XXXXXX";
    dir_ = IncludeTrailingPathDelimiter(::mkdtemp(tmpl));
    file_ = dir_ + "pagolin.ini";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Put(const std::string& text) { std::ofstream(file_, std::ios::binary) << text; }
  std::string Get() const {
    std::string s, e;
    ReadWholeFile(file_, s, e);
    return s;
  }
  TSettings Loaded() {
    TSettings s(dir_);
    std::string error, warning;
    EXPECT_TRUE(s.LoadSettings(error, warning)) << error;
    return s;
  }
  std::string dir_, file_;
};

TEST_F(SettingsTest, FileIsPagolinIniInTheSiteFolder) {
  EXPECT_EQ(TSettings(dir_).FileName(), file_);
  EXPECT_EQ(TSettings::SettingsFileName(ExcludeTrailingPathDelimiter(dir_)), file_);
}

TEST_F(SettingsTest, FirstStartGivesDefaultsAndWritesOnlyTheOutputFolder) {
  const TSettings s = Loaded();
  const std::string folder = ExcludeTrailingPathDelimiter(dir_);
  EXPECT_FALSE(s.IsFTPUpload());
  EXPECT_EQ(s.FTPUploadFile, folder);
  EXPECT_EQ(s.ArchiveFileName(), dir_ + "upload.zip");
  EXPECT_EQ(s.WWWHomepageFile, "index.htm");
  EXPECT_EQ(s.HomePagePath(), dir_ + "index.htm");
  EXPECT_EQ(s.OutputFolder(), dir_);
  EXPECT_EQ(s.LanguageName(1), "English");
  EXPECT_EQ(s.LanguageName(2), "Deutsch");
  EXPECT_EQ(s.DateFormat(1), "m-d-yyyy");
  EXPECT_EQ(s.DateFormat(2), "dddddd");
  EXPECT_EQ(s.DateTimeFormat(1), "m-d-yyyy hh:mm");
  EXPECT_EQ(s.DateTimeFormat(2), "ddddd t");
  EXPECT_TRUE(s.Signature1.empty());
  EXPECT_EQ(s.Server, "");
  EXPECT_EQ(Get(), "[Settings]\r\nFTPUploadFile=" + folder + "\r\n");
}

TEST_F(SettingsTest, StoredFolderLosesOneTrailingDelimiterAndOnlyThatKeyIsRewritten) {
  Put("; hand-made\r\n[settings]\r\nftpuploadfile=/srv/site//\r\nOther=1\r\n");
  const TSettings s = Loaded();
  EXPECT_EQ(s.FTPUploadFile, "/srv/site/");
  EXPECT_EQ(Get(), "; hand-made\r\n[settings]\r\nFTPUploadFile=/srv/site/\r\nOther=1\r\n");
}

TEST_F(SettingsTest, FolderWithoutTrailingDelimiterLeavesTheFileUntouched) {
  Put("[Settings]\nFTPUploadFile=/srv/site\n");
  Loaded();
  EXPECT_EQ(Get(), "[Settings]\nFTPUploadFile=/srv/site\n");
}

TEST_F(SettingsTest, SaveWritesEveryKeyInOrderAndLoadsBack) {
  TSettings s = Loaded();
  s.UploadMethodFTP = true;
  s.FTPUploadFile = "/out/";
  s.ZIPUploadFile = "/a/up.zip";
  s.WWWHomepageFile = "home.htm";
  s.SiteURL = "https://www.example.com/";
  s.Server = "news.example.net";
  s.DefNewsgroup1 = "comp.a";
  s.DefNewsgroup2 = "de.comp.a";
  s.Signature1 = {"-- ", "Jo"};
  s.Signature2 = {"Gruss"};
  s.Name = "Jo";
  s.EMailAddress = "jo@example.net";
  s.ReplyAddress = "r@example.net";
  s.Organization = "Org";
  s.Language1 = "Français";
  s.Language2 = "Italiano";
  s.DateFormat1 = "dddddd";
  s.DateFormat2 = "m-d-yyyy";
  s.DateTimeFormat1 = "ddddd t";
  s.DateTimeFormat2 = "";
  s.Security = "TLS";
  s.Port = 10563;
  s.User = "jo";
  s.CAFile = "certs/ca.pem";
  s.PublishURL = "sftp://example.net/var/www";
  s.PublishUser = "web";
  s.DeleteRemoved = true;
  std::string error;
  ASSERT_TRUE(s.SaveSettings(error)) << error;
  EXPECT_EQ(Get(),
            "[Settings]\r\nFTPUploadFile=/out/\r\nUploadMethodFTP=1\r\nZIPUploadFile=/a/up.zip\r\n"
            "WWWHomepageFile=home.htm\r\nSiteURL=https://www.example.com/\r\n\r\n"
            "[News]\r\nServer=news.example.net\r\nDefNewsgroup1=comp.a\r\nDefNewsgroup2=de.comp.a\r\n"
            "SignatureLines1=2\r\nSignatureLines2=1\r\nSignature1_1=-- \r\nSignature1_2=Jo\r\n"
            "Signature2_1=Gruss\r\nPort=10563\r\nSecurity=TLS\r\nUser=jo\r\nCAFile=certs/ca.pem\r\n\r\n"
            "[Identification]\r\nName=Jo\r\nEMailAddress=jo@example.net\r\nReplyAddress=r@example.net\r\n"
            "Organization=Org\r\n\r\n"
            "[Languages]\r\nLanguage1=Fran\xE7"
            "ais\r\nLanguage2=Italiano\r\nDateFormat1=dddddd\r\n"
            "DateFormat2=m-d-yyyy\r\nDateTimeFormat1=ddddd t\r\nDateTimeFormat2=\r\n\r\n"
            "[Publish]\r\nURL=sftp://example.net/var/www\r\nUser=web\r\nDeleteRemoved=1\r\n");
  const TSettings t = Loaded();  // "/out/" loses its delimiter only now
  EXPECT_EQ(t.FTPUploadFile, "/out");
  EXPECT_TRUE(t.IsFTPUpload());
  EXPECT_EQ(t.Signature1, (std::vector<std::string>{"-- ", "Jo"}));
  EXPECT_EQ(t.Signature(2), (std::vector<std::string>{"Gruss"}));
  EXPECT_EQ(t.LanguageName(1), "Français");
  EXPECT_EQ(t.DateTimeFormat(2), "");
  EXPECT_EQ(t.DefNewsgroup(2), "de.comp.a");
  EXPECT_EQ(t.Port, 10563);
  EXPECT_EQ(t.Security, "TLS");
  EXPECT_EQ(t.User, "jo");
  EXPECT_EQ(t.CAFilePath(), dir_ + "certs/ca.pem");
}

TEST_F(SettingsTest, TwoLineSignatureOverFiveLeavesOldLinesIgnored) {
  Put("[News]\r\nSignatureLines1=5\r\nSignature1_1=a\r\nSignature1_2=b\r\nSignature1_3=c\r\n"
      "Signature1_4=d\r\nSignature1_5=e\r\n");
  TSettings s = Loaded();
  ASSERT_EQ(s.Signature1.size(), 5u);
  s.Signature1 = {"x", "y"};
  std::string error;
  ASSERT_TRUE(s.SaveSettings(error)) << error;
  TIniFile ini(file_);
  EXPECT_EQ(ini.ReadInteger("News", "SignatureLines1", -1), 2);
  EXPECT_EQ(ini.ReadString("News", "Signature1_1", ""), "x");
  EXPECT_EQ(ini.ReadString("News", "Signature1_2", ""), "y");
  EXPECT_EQ(ini.ReadString("News", "Signature1_5", ""), "e");
  EXPECT_EQ(Loaded().Signature1, (std::vector<std::string>{"x", "y"}));
}

// A signature line keeps its bytes (the "-- " separator, indents, trailing blanks); every other
// value is trimmed as before.
TEST_F(SettingsTest, SignatureLinesKeepTheirBlanksOtherValuesAreTrimmed) {
  Put("[Identification]\r\nName =  Jo  \r\n[News]\r\nSignatureLines1=3\r\nSignature1_1=-- \r\n"
      "Signature1_2=  Jo\t\r\nSignature1_3= \r\n");
  const TSettings s = Loaded();
  EXPECT_EQ(s.Name, "Jo");
  EXPECT_EQ(s.Signature1, (std::vector<std::string>{"-- ", "  Jo\t", " "}));
  std::string error;
  ASSERT_TRUE(s.SaveSettings(error)) << error;
  EXPECT_EQ(Loaded().Signature1, s.Signature1);
}

TEST_F(SettingsTest, DamagedSignatureCountsNeitherFailNorHang) {
  Put("[News]\r\nSignatureLines1=abc\r\nSignature1_1=a\r\n"
      "SignatureLines2=2000000000\r\nSignature2_1=a\r\nsignature2_3=c\r\n");
  const TSettings s = Loaded();
  EXPECT_TRUE(s.Signature1.empty());  // not a number: 0 lines
  // Lines up to the last stored one; a missing line in between is empty.
  EXPECT_EQ(s.Signature2, (std::vector<std::string>{"a", "", "c"}));
}

TEST_F(SettingsTest, FormatsMatchWithoutCaseAndUnknownGivesNoSelection) {
  Put("[Languages]\r\nDateFormat1=dd.mm.yyyy\r\nDateFormat2=DDDDDD\r\nDateTimeFormat1=M-D-YYYY HH:MM\r\n"
      "DateTimeFormat2=\r\n");
  TSettings s = Loaded();
  EXPECT_EQ(s.DateFormat(1), "");
  EXPECT_EQ(s.DateFormat(2), "dddddd");
  EXPECT_EQ(s.DateTimeFormat(1), "m-d-yyyy hh:mm");
  EXPECT_EQ(s.DateTimeFormat(2), "");
  std::string error;
  ASSERT_TRUE(s.SaveSettings(error)) << error;
  EXPECT_EQ(TIniFile(file_).ReadString("Languages", "DateFormat1", "x"), "");
}

// A file of an older version has no port, security, user or CA file: posting goes on as
// before (plain, port 119, no login). A missing or impossible port is the usual one of the
// security; a security that is none of the choices is empty, which posting refuses.
TEST_F(SettingsTest, NewsServerKeysOfOlderAndHandWrittenFiles) {
  struct TCase {
    const char* news;
    int port;
    const char* security;
  };
  const TCase cases[] = {
      {"Server=news.example.net\r\n", 119, "None"},  {"Security=TLS\r\n", 563, "TLS"},
      {"Security=starttls\r\n", 119, "STARTTLS"},    {"Security=TLS\r\nPort=10563\r\n", 10563, "TLS"},
      {"Security=TLS\r\nPort=443x\r\n", 563, "TLS"}, {"Port=0\r\n", 119, "None"},
      {"Port=70000\r\nSecurity=SSL\r\n", 119, ""},
  };
  for (const TCase& c : cases) {
    Put(std::string("[News]\r\n") + c.news);
    const TSettings s = Loaded();
    EXPECT_EQ(s.Port, c.port) << c.news;
    EXPECT_EQ(s.Security, c.security) << c.news;
    EXPECT_EQ(s.User, "") << c.news;
    EXPECT_EQ(s.CAFilePath(), "") << c.news;
  }
}

TEST_F(SettingsTest, GarbageAndNonNumbersFallBackToDefaults) {
  Put("\x01\x02garbage\r\n[Settings]\r\nUploadMethodFTP=yes\r\n[[broken\r\n=\r\n");
  const TSettings s = Loaded();
  EXPECT_FALSE(s.IsFTPUpload());
  EXPECT_EQ(s.WWWHomepageFile, "index.htm");
  EXPECT_EQ(s.LanguageName(2), "Deutsch");
}

TEST_F(SettingsTest, LanguageAccessorsOutsideOneAndTwoGiveNothing) {
  const TSettings s(dir_);
  for (int n : {0, 3, -1}) {
    EXPECT_FALSE(s.LanguageName(n).has_value());
    EXPECT_FALSE(s.DateFormat(n).has_value());
    EXPECT_FALSE(s.DateTimeFormat(n).has_value());
  }
}

TEST_F(SettingsTest, HomePagePathAndOutputFolder) {
  const std::string d(1, PathDelim);
  TSettings s(dir_);
  s.UploadMethodFTP = true;
  s.FTPUploadFile = d + "out";
  EXPECT_EQ(s.HomePagePath(), d + "out" + d + "index.htm");
  EXPECT_EQ(s.OutputFolder(), d + "out" + d);
  // Typed with a trailing delimiter during the run: two delimiters in a row.
  s.FTPUploadFile = d + "out" + d;
  EXPECT_EQ(s.HomePagePath(), d + "out" + d + d + "index.htm");
  EXPECT_EQ(s.OutputFolder(), d + "out" + d + d);
  // Archive method: the archive's folder, whatever the FTP folder holds.
  s.UploadMethodFTP = false;
  s.ZIPUploadFile = d + "arc" + d + "upload.zip";
  EXPECT_EQ(s.HomePagePath(), d + "arc" + d + "index.htm");
  EXPECT_EQ(s.OutputFolder(), d + "arc" + d);
  // Relative and empty folders and archives lie in the site folder, never in the working
  // folder or the root.
  const struct {
    bool ftp;
    std::string folder, archive, home;
  } rows[] = {{false, "", "upload.zip", dir_ + "index.htm"},
              {false, "", "", dir_ + "index.htm"},
              {false, "", "out" + d + "site.zip", dir_ + "out" + d + "index.htm"},
              {true, "", "", dir_ + "index.htm"},
              {true, "www", "", dir_ + "www" + d + "index.htm"},
              {true, d + "abs", "", d + "abs" + d + "index.htm"}};
  for (const auto& row : rows) {
    s.UploadMethodFTP = row.ftp;
    s.FTPUploadFile = row.folder;
    s.ZIPUploadFile = row.archive;
    EXPECT_EQ(s.HomePagePath(), row.home) << row.folder << " / " << row.archive;
    EXPECT_EQ(s.OutputFolder(), ExtractFilePath(row.home));
  }
  s.ZIPUploadFile = "upload.zip";
  EXPECT_EQ(s.ArchiveFileName(), dir_ + "upload.zip");
  s.ZIPUploadFile = "";
  EXPECT_EQ(s.ArchiveFileName(), "");
}

TEST_F(SettingsTest, HomePageFileMustBeABareFileName) {
  TSettings s(dir_);
  EXPECT_EQ(s.HomePageFileProblem(), "");
  for (const char* bad : {"", "../escape.htm", "sub/index.htm", "/tmp/x.htm", "..", "."}) {
    s.WWWHomepageFile = bad;
    EXPECT_NE(s.HomePageFileProblem(), "") << bad;
  }
  s.WWWHomepageFile = "..index.htm";
  EXPECT_EQ(s.HomePageFileProblem(), "");
}

TEST_F(SettingsTest, UnwritableFileIsAWarningAndValuesLoad) {
  const std::string gone = dir_ + "gone" + PathDelim;  // a site folder that does not exist
  TSettings s(gone);
  std::string error, warning;
  EXPECT_TRUE(s.LoadSettings(error, warning));
  EXPECT_EQ(warning,
            "The settings file could not be written: The folder \"" + dir_ + "gone\" does not exist.");
  EXPECT_EQ(s.FTPUploadFile, ExcludeTrailingPathDelimiter(gone));
  EXPECT_EQ(s.WWWHomepageFile, "index.htm");
  error.clear();
  EXPECT_FALSE(s.SaveSettings(error));
  EXPECT_NE(error.find("could not be saved"), std::string::npos) << error;
}

TEST_F(SettingsTest, UnreadableFileIsReportedAndNotOverwritten) {
  std::filesystem::create_directory(file_);
  TSettings s(dir_);
  std::string error, warning;
  EXPECT_FALSE(s.LoadSettings(error, warning));
  EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
  EXPECT_EQ(s.LanguageName(1), "English");
  EXPECT_FALSE(s.SaveSettings(error));
  EXPECT_TRUE(DirectoryExists(file_));
}

}  // namespace
}  // namespace pagolin
