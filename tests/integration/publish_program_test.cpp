// pagolin --publish without a window, to the SFTP server on loopback, as a scheduler runs it:
// the user's own ~/.ssh (the test key), an unknown host key refused, then the site published,
// then nothing left to publish.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "support/file_servers.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

using testing::ReadText;
using testing::TServerFolder;
using testing::WriteBytes;

struct TRun {
  int status = -1;
  std::string out;  // standard output, then standard error
};

// The program with HOME set to home; standard error follows standard output. FTPS trusts the
// test authority.
TRun Pagolin(const std::string& home, const std::string& arguments) {
  const std::string command = "HOME='" + home + "' SSH_AUTH_SOCK= SSL_CERT_FILE='" + testing::kServersState +
                              "ca.pem' '" PAGOLIN_PROGRAM "' " + arguments + " 2>&1";
  TRun run;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
  run.status = WEXITSTATUS(::pclose(pipe));
  return run;
}

// A built sample site that publishes to a folder of its own over protocol, and a home folder.
class PublishProgramTest : public ::testing::Test {
 protected:
  void Make(TPublishProtocol protocol) {
    ASSERT_EQ(std::system(("'" PAGOLIN_NEWSITE "' '" + site + "' --sample >/dev/null").c_str()), 0);
    std::filesystem::create_directories(home + "/.ssh");
    WriteBytes(site + "/pagolin.ini",
               "[Publish]\r\nURL=" + server.Url(protocol) + "\r\nUser=pagolin-publish\r\n");
    ASSERT_EQ(Pagolin(home, "--build --site '" + site + "'").status, 0);
  }
  TRun Publish() { return Pagolin(home, "--publish --site '" + site + "'"); }

  testing::TTempFolder dir;
  TServerFolder server;
  const std::string site = dir.Path() + "site";
  const std::string home = dir.Path() + "home";
};

TEST_F(PublishProgramTest, AnUnknownHostKeyIsRefusedThenTheSiteGoesUpOnceTheKeyIsKnown) {
  Make(TPublishProtocol::ppSftp);
  std::filesystem::copy_file(testing::kServersState + "client_key", home + "/.ssh/id_ed25519");

  const TRun refused = Publish();
  EXPECT_EQ(refused.status, 1);
  std::FILE* keygen =
      ::popen(("ssh-keygen -lf '" + testing::kServersState + "ssh_host_ed25519_key.pub'").c_str(), "r");
  char line[256] = {};
  ASSERT_TRUE(std::fgets(line, sizeof line, keygen));
  ::pclose(keygen);
  const std::string fingerprint = std::string(line).substr(4, std::string(line).find(' ', 4) - 4);
  EXPECT_NE(refused.out.find("The host key of 127.0.0.1:2222 is not known (" + fingerprint + ")"),
            std::string::npos)
      << refused.out;
  EXPECT_TRUE(server.Names().empty());
  EXPECT_FALSE(std::filesystem::exists(home + "/.ssh/known_hosts"));  // nobody said yes

  std::filesystem::copy_file(testing::kServersState + "known_hosts", home + "/.ssh/known_hosts");
  const TRun published = Publish();
  EXPECT_EQ(published.status, 0) << published.out;
  EXPECT_NE(published.out.find("uploaded index.htm\n"), std::string::npos) << published.out;
  EXPECT_EQ(ReadText(server.Path() + "/index1.htm"), ReadText(site + "/index1.htm"));

  const TRun again = Publish();
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out.rfind("Nothing to publish: the ", 0), 0u) << again.out;
}

// FTPS needs a password; without a window it comes from ~/.netrc, which only its owner may read.
TEST_F(PublishProgramTest, AnFtpsLoginTakesItsPasswordFromNetrc) {
  Make(TPublishProtocol::ppFtps);
  const std::string netrc = home + "/.netrc";
  struct TCase {
    const char* netrc;  // nullptr: none
    int mode;
    int status;
    const char* says;
  };
  const std::string entry =
      "machine 127.0.0.1 login pagolin-publish password " + testing::PublishUserPassword() + "\n";
  const TCase cases[] = {
      {nullptr, 0, 1, "No password for user pagolin-publish on 127.0.0.1"},
      {entry.c_str(), 0644, 1, "~/.netrc"},  // others may read it: refused
      {"machine 127.0.0.1 login pagolin-publish password wrong\n", 0600, 1, "refused the login"},
      {entry.c_str(), 0600, 0, "uploaded index.htm\n"},
  };
  for (const TCase& c : cases) {
    std::filesystem::remove(netrc);
    if (c.netrc) {
      WriteBytes(netrc, c.netrc);
      std::filesystem::permissions(netrc, static_cast<std::filesystem::perms>(c.mode));
    }
    const TRun run = Publish();
    EXPECT_EQ(run.status, c.status) << run.out;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find(testing::PublishUserPassword()), std::string::npos);
  }
  EXPECT_EQ(ReadText(server.Path() + "/index1.htm"), ReadText(site + "/index1.htm"));
}

}  // namespace
}  // namespace pagolin
