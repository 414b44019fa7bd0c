// pagolin --send-news on a prepared site, posting to the real news server on 127.0.0.1:119.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "support/news_reader.h"
#include "support/news_servers.h"

namespace pagolin {
namespace {

namespace fs = std::filesystem;
using test::TNewsReader;

struct TRun {
  int status = -1;
  std::string output;
};

// prefix: a command that runs the program (another user), or "". errors: "2>&1" to read
// standard error too.
TRun RunProgram(const std::string& arguments, const std::string& prefix = "",
                const std::string& errors = "2>/dev/null") {
  TRun run;
  const std::string command = prefix + PAGOLIN_PROGRAM + " " + arguments + " " + errors;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[4096];
  std::size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class SendNewsProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    TNewsReader probe;
    ASSERT_TRUE(probe.Ready()) << test::kServerMissing;
    char folder[] = "/tmp/pagolin-sendnews-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    site_ = std::string(folder) + "/";
    fs::remove(site_);
    ASSERT_EQ(std::system((std::string(PAGOLIN_NEWSITE) + " " + site_ + " >/dev/null").c_str()), 0);
    TSettings settings(site_);
    settings.Server = "127.0.0.1";
    settings.EMailAddress = "pagolin@example.test";
    settings.ReplyAddress = "reply@example.test";
    std::string error;
    ASSERT_TRUE(settings.SaveSettings(error)) << error;
    token_ = test::UniqueToken();
  }
  void TearDown() override { fs::remove_all(site_); }

  void AddPostings(const std::vector<std::vector<std::string>>& rows) {
    TDataModule2 dm(site_);
    dm.DataModule2Create();
    for (const auto& row : rows) {  // subject, body, newsgroups, send
      dm.tblNewsPost.Insert();
      dm.tblNewsPost.FieldByName("Subject").SetAsString(row[0]);
      dm.tblNewsPost.FieldByName("Body").SetAsString(row[1]);
      dm.tblNewsPost.FieldByName("Newsgroups").SetAsString(row[2]);
      dm.tblNewsPost.FieldByName("Send").SetAsBoolean(row[3] == "yes");
      dm.tblNewsPost.Post();
    }
  }
  // Subject -> whether it was stamped as sent.
  std::map<std::string, bool> Stamped() {
    TDataModule2 dm(site_);
    dm.DataModule2Create();
    std::map<std::string, bool> result;
    for (dm.tblNewsPost.First(); !dm.tblNewsPost.Eof(); dm.tblNewsPost.Next()) {
      result[dm.tblNewsPost.FieldByName("Subject").AsString()] =
          !dm.tblNewsPost.FieldByName("Date sent").IsNull();
    }
    return result;
  }

  std::string site_;
  std::string token_;
};

TEST_F(SendNewsProgram, SendsTheDuePostingsPrintsALineEachAndStampsThem) {
  const std::string first = "Headless one " + token_;
  const std::string german = "Neuigkeiten für Kunden " + token_;
  const std::string idle = "Not ticked " + token_;
  AddPostings({{first, "Hello\r\n.dot line\r\n-- \r\nExample", "local.test", "yes"},
               {german, "Grüße", "local.test,local.other", "yes"},
               {idle, "never", "local.test", "no"}});
  const TRun run = RunProgram("--send-news --site " + site_);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, first + ": sent\n" + german + ": sent\n");
  const auto stamped = Stamped();
  EXPECT_TRUE(stamped.at(first));
  EXPECT_TRUE(stamped.at(german));
  EXPECT_FALSE(stamped.at(idle));

  TNewsReader reader;
  const auto stored = test::SplitArticle(reader.ArticleBySubject("local.test", "Subject: " + first));
  ASSERT_FALSE(stored.header.empty());
  EXPECT_EQ(stored.body, (std::vector<std::string>{"Hello", ".dot line", "-- ", "Example"}));
  const auto has = [&](const std::string& line) {
    return std::find(stored.header.begin(), stored.header.end(), line) != stored.header.end();
  };
  EXPECT_TRUE(has("From: pagolin@example.test"));
  EXPECT_TRUE(has("Reply-To: reply@example.test"));
  EXPECT_TRUE(has("Newsgroups: local.test"));
  const auto storedGerman = test::SplitArticle(reader.ArticleBySubject(
      "local.other", "Subject: Neuigkeiten =?windows-1252?Q?f=FCr?= Kunden " + token_));
  EXPECT_EQ(storedGerman.body, std::vector<std::string>{"Gr\xFC\xDF"
                                                        "e"});

  // A second run finds nothing due and posts nothing again.
  const TRun again = RunProgram("--send-news --site " + site_);
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.output, "");
}

TEST_F(SendNewsProgram, AFailedPostingIsReportedAndTheOthersStillGo) {
  const std::string refused = "Refused " + token_;
  const std::string fine = "Fine " + token_;
  AddPostings({{refused, "x", "local.nosuchgroup", "yes"}, {fine, "y", "local.test", "yes"}});
  const TRun run = RunProgram("--send-news --site " + site_);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find(refused + ": The news server answered 4"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(fine + ": sent\n"), std::string::npos) << run.output;
  EXPECT_FALSE(Stamped().at(refused));
  EXPECT_TRUE(Stamped().at(fine));
}

TEST_F(SendNewsProgram, WithoutEMailNothingIsSentAndTheUserIsTold) {
  TSettings settings(site_);
  std::string error, warning;
  ASSERT_TRUE(settings.LoadSettings(error, warning));
  settings.EMailAddress = "";
  ASSERT_TRUE(settings.SaveSettings(error));
  const std::string subject = "No sender " + token_;
  AddPostings({{subject, "x", "local.test", "yes"}});
  const TRun run = RunProgram("--send-news --site " + site_);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, subject + ": Please enter your e-mail address in Pagolin settings.\n");
  EXPECT_FALSE(Stamped().at(subject));
}

// The identification's name goes into From (quoted when it holds specials, encoded when it is
// not ASCII) and the organisation into an Organization header, as the news server keeps them.
TEST_F(SendNewsProgram, FromCarriesTheNameAndTheOrganizationGoesAlong) {
  const struct {
    const char* name;
    const char* from;
  } cases[] = {
      {"", "From: pagolin@example.test"},
      {"Jo Elmwood", "From: Jo Elmwood <pagolin@example.test>"},
      {"Elmwood Software, Inc.", "From: \"Elmwood Software, Inc.\" <pagolin@example.test>"},
      {"Jörg \"Jo\" Müller",
       "From: =?windows-1252?Q?J=F6rg_=22Jo=22_M=FCller?= <pagolin@example.test>"},
  };
  TNewsReader reader;
  int number = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TSettings settings(site_);
    std::string error, warning;
    ASSERT_TRUE(settings.LoadSettings(error, warning));
    settings.Name = c.name;
    settings.Organization = "Elmwood Software";
    ASSERT_TRUE(settings.SaveSettings(error));
    const std::string subject = "From case " + std::to_string(++number) + " " + token_;
    AddPostings({{subject, "x", "local.test", "yes"}});
    EXPECT_EQ(RunProgram("--send-news --site " + site_).status, 0);
    const auto header =
        test::SplitArticle(reader.ArticleBySubject("local.test", "Subject: " + subject)).header;
    EXPECT_NE(std::find(header.begin(), header.end(), c.from), header.end()) << header.size();
    EXPECT_NE(std::find(header.begin(), header.end(), "Organization: Elmwood Software"), header.end());
  }
}

// A login without encryption is warned about, once per run.
TEST_F(SendNewsProgram, ALoginWithoutEncryptionIsWarnedAboutOnce) {
  TSettings settings(site_);
  std::string error, warning;
  ASSERT_TRUE(settings.LoadSettings(error, warning));
  settings.User = "jo";
  ASSERT_TRUE(settings.SaveSettings(error));
  AddPostings(
      {{"Plain " + token_, "x", "local.test", "yes"}, {"Plain too " + token_, "y", "local.test", "yes"}});
  const TRun run = RunProgram("--send-news --site " + site_, "HOME=" + site_ + " ", "2>&1");
  const std::string line =
      "Warning: With security \"None\" the news server's password is sent unencrypted; choose STARTTLS or "
      "TLS when the server offers them.\n";
  EXPECT_EQ(run.output.substr(0, line.size()), line);
  EXPECT_EQ(run.output.find("Warning", line.size()), std::string::npos) << run.output;
}

// A postings table that cannot be written, as a file or only for the engine's journal in its
// folder: nothing is sent (the stamp could not be stored), and the report line says why.
TEST_F(SendNewsProgram, AReadOnlyPostingsTableSendsNothing) {
  // Root writes whatever the modes say; the program then runs as the user nobody.
  const std::string asNobody = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  TNewsReader reader;
  for (const bool fileWritable : {false, true}) {
    const std::string subject = "Read-only table " + std::to_string(fileWritable) + " " + token_;
    AddPostings({{subject, "x", "local.test", "yes"}});
    fs::permissions(site_ + "newspost.db", fileWritable ? fs::perms(0666) : fs::perms(0444));
    fs::permissions(site_, fs::perms(0555));
    const TRun run = RunProgram("--send-news --site " + site_, asNobody);
    fs::permissions(site_, fs::perms(0755));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(subject + ": Not sent, since its date sent cannot be stored: "),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(Stamped().at(subject));
    EXPECT_EQ(reader.CountBySubject("local.test", "Subject: " + subject), 0u);
  }
}

// Without a window the password of a login comes from ~/.netrc, and only from a private one;
// until it is there, the postings stay due and each run says why.
TEST_F(SendNewsProgram, ALoginServerGetsThePasswordFromAPrivateNetrc) {
  TSettings settings(site_);
  std::string error, warning;
  ASSERT_TRUE(settings.LoadSettings(error, warning));
  settings.Server = test::kLoginServer;
  settings.Security = "TLS";
  settings.Port = test::kTlsPort;
  settings.User = test::kLoginUser;
  settings.CAFile = test::kTestCAFile;
  ASSERT_TRUE(settings.SaveSettings(error));
  const std::string home = site_ + "home";
  fs::create_directory(home);
  const std::string netrc = home + "/.netrc";
  const std::string entry =
      std::string("machine ") + test::kLoginServer + " login " + test::kLoginUser + " password ";
  const struct {
    const char* name;
    std::string text;  // "": no file
    fs::perms mode;
    std::string reason;
  } cases[] = {
      {"no .netrc", "", fs::perms::none, "No password for user pagolin-test on 127.0.0.2 in ~/.netrc"},
      {"readable by others", entry + test::kLoginPassword, fs::perms(0644),
       "~/.netrc can be read or changed by other users, so its passwords are not used; make it private with: "
       "chmod 600 ~/.netrc"},
      {"wrong password", entry + "not-the-password", fs::perms(0600),
       "Login refused by the news server (481 Authentication failed)"},
      {"private", entry + test::kLoginPassword, fs::perms(0600), "sent"},
  };
  std::vector<std::string> subjects;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    subjects.push_back(std::string("Login ") + c.name + " " + token_);
    AddPostings({{subjects.back(), "over TLS with a login", "local.test", "yes"}});
    fs::remove(netrc);
    if (!c.text.empty()) {
      std::ofstream(netrc) << c.text << "\n";
      fs::permissions(netrc, c.mode);
    }
    const TRun run = RunProgram("--send-news --site " + site_, "HOME=" + home + " ");
    std::string expected;
    for (const std::string& subject : subjects) expected += subject + ": " + c.reason + "\n";
    EXPECT_EQ(run.output, expected);
    EXPECT_EQ(run.status, c.reason == "sent" ? 0 : 1);
    EXPECT_EQ(run.output.find(test::kLoginPassword), std::string::npos);
  }
  for (const auto& [subject, sent] : Stamped()) EXPECT_TRUE(sent) << subject;
  TNewsReader reader;
  const auto stored =
      test::SplitArticle(reader.ArticleBySubject("local.test", "Subject: " + subjects.front()));
  EXPECT_EQ(stored.body, std::vector<std::string>{"over TLS with a login"});
}

}  // namespace
}  // namespace pagolin
