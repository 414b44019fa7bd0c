// Publishing a built site to the real file servers on loopback (tests/integration/start-file-servers):
// SFTP, FTP with explicit TLS and plain FTP. Every file is read back over the protocol it went
// up by.
#include "core/publish/publishsetup.h"

#include <gtest/gtest.h>

#include "core/data/datamod.h"
#include "core/pages/pagebuilder.h"
#include "core/publish/knownhosts.h"
#include "support/file_servers.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

using testing::ReadText;
using testing::ServerOptions;
using testing::TBuildSite;
using testing::TServerFolder;
using testing::WriteBytes;

// A few bytes of everything, so that no file is mistaken for another.
std::string Bytes(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
  return bytes;
}

// A built site: two products (one download named with blanks and umlauts), a link image, and
// the pages, built at a fixed time so that only what changes in the tables changes the pages.
class PublishFixture {
 public:
  PublishFixture() {
    site_.AddCode("Title Page", "<H1>%LASTUPDATE%</H1>");
    site_.AddCode("Product", "<P>%NAME% %FILENAME% %IMAGE% %DESCRIPTION%</P>", "Data");
    site_.AddCode("Link", "<L>%IMAGE%</L>", "Data");
    site_.AddProduct("Editor", "Tools", "Setup für alle.zip", "shot.gif", "edits", "bearbeitet");
    site_.AddProduct("Viewer", "Tools", "viewer.zip", "", "views", "zeigt");
    site_.AddLink("Web", "Tools", "http://example.net/", "logo.jpg", "", "");
    const std::string s = site_.Site();
    WriteBytes(s + "Setup f\xC3\xBCr alle.zip", Bytes(30000, 1));
    WriteBytes(s + "viewer.zip", Bytes(400000, 2));
    WriteBytes(s + "shot.gif", testing::GifBytes(20, 10, 700));
    WriteBytes(s + "logo.jpg", Bytes(900, 3));
    builder_.Clock = [] { return 36000.5; };
    Build();
  }
  void Build() {
    builder_.FileList.clear();
    builder_.BuildPages();
  }
  void SetProduct(const std::string& name, const std::string& field, const std::string& value) {
    TTable& products = site_.Data().tblProducts;
    ASSERT_TRUE(products.Locate("Name", name));
    products.Edit();
    products.FieldByName(field).SetAsString(value);
    products.Post();
  }
  TPublishPlan Plan() {
    return PreparePublish(site_.Data(), site_.Settings(), records_, PublishTarget(site_.Settings()));
  }
  TPublishResult Publish(const TConnectionOptions& options, const TPublishPlan& plan) {
    const TPublishTarget target = PublishTarget(site_.Settings());
    TCurlFolder folder(target.Url, options);
    TPublisher publisher(folder, records_, target.Key);
    return publisher.Run(plan);
  }
  // Each present file of the site read back from the server equals the file.
  void ExpectOnServer(const TConnectionOptions& options, const std::vector<std::string>& names) {
    const TPublishUrl url = ParsePublishUrl(site_.Settings().PublishURL);
    for (const std::string& name : names) {
      std::string contents;
      EXPECT_TRUE(testing::Download(url, options, name, contents)) << name;
      EXPECT_TRUE(contents == ReadText(site_.Site() + name)) << name << " differs";
    }
  }
  std::vector<std::string> PresentNames() {
    std::vector<std::string> names;
    for (const TSiteFile& f : PresentFiles(builder_.FileList, site_.Settings())) names.push_back(f.Name);
    return names;
  }

  TBuildSite site_;
  TPageBuilder builder_{site_.Data(), site_.Settings()};
  TPublishedFiles records_{site_.Site()};
};

class PublishServerTest : public ::testing::TestWithParam<TPublishProtocol>, protected PublishFixture {
 protected:
  void SetUp() override { site_.Settings().PublishURL = server_.Url(GetParam()); }
  TServerFolder server_;
};

TEST_P(PublishServerTest, FirstPublishSendsEverythingTheSecondNothingAChangedProductJustItsPage) {
  const TConnectionOptions options = ServerOptions(GetParam());
  const TPublishPlan first = Plan();
  const TPublishResult result = Publish(options, first);
  ASSERT_TRUE(result.Succeeded()) << result.Failure;
  const std::vector<std::string> present = PresentNames();
  EXPECT_EQ(present.size(), 7u);
  EXPECT_EQ(std::set<std::string>(result.Uploaded.begin(), result.Uploaded.end()),
            std::set<std::string>(present.begin(), present.end()));
  EXPECT_EQ(result.Uploaded.back(), "index.htm");
  ExpectOnServer(options, present);
  EXPECT_EQ(server_.Names(), std::set<std::string>(present.begin(), present.end()));  // no temporary left

  EXPECT_TRUE(Plan().NothingToDo());

  SetProduct("Editor", "Description 1", "edits better");
  Build();
  const TPublishPlan changed = Plan();
  ASSERT_EQ(changed.Uploads.size(), 1u);
  EXPECT_EQ(changed.Uploads[0].File.Name, "index1.htm");
  EXPECT_EQ(changed.Uploads[0].State, TPublishState::psChanged);
  ASSERT_TRUE(Publish(options, changed).Succeeded());
  ExpectOnServer(options, {"index1.htm"});
}

INSTANTIATE_TEST_SUITE_P(Protocols, PublishServerTest,
                         ::testing::Values(TPublishProtocol::ppSftp, TPublishProtocol::ppFtps,
                                           TPublishProtocol::ppFtp),
                         [](const ::testing::TestParamInfo<TPublishProtocol>& protocol) {
                           return std::string(protocol.param == TPublishProtocol::ppSftp   ? "Sftp"
                                              : protocol.param == TPublishProtocol::ppFtps ? "Ftps"
                                                                                           : "Ftp");
                         });

class PublishSftpTest : public ::testing::Test, protected PublishFixture {
 protected:
  void SetUp() override { site_.Settings().PublishURL = server_.Url(TPublishProtocol::ppSftp); }
  TServerFolder server_;
};

TEST_F(PublishSftpTest, DeleteRemovedDeletesOnlyWhatAnEarlierPublishPutThere) {
  const TConnectionOptions options = ServerOptions(TPublishProtocol::ppSftp);
  ASSERT_TRUE(Publish(options, Plan()).Succeeded());
  WriteBytes(server_.Path() + "/guestbook.htm", "not the site's");
  SetProduct("Editor", "Screenshot", "");
  Build();
  EXPECT_TRUE(Plan().Removals.empty());  // not without the setting
  site_.Settings().DeleteRemoved = true;
  const TPublishPlan plan = Plan();
  EXPECT_EQ(plan.Removals, std::vector<std::string>{"shot.gif"});
  const TPublishResult result = Publish(options, plan);
  ASSERT_TRUE(result.Succeeded()) << result.Failure;
  EXPECT_FALSE(server_.Names().count("shot.gif"));
  EXPECT_TRUE(server_.Names().count("guestbook.htm"));
  EXPECT_TRUE(server_.Names().count("logo.jpg"));
}

TEST_F(PublishSftpTest, AWrongPasswordIsRefusedWithAClearMessage) {
  for (const TPublishProtocol protocol : {TPublishProtocol::ppSftp, TPublishProtocol::ppFtps}) {
    site_.Settings().PublishURL = server_.Url(protocol);
    TConnectionOptions options = ServerOptions(protocol);
    options.PrivateKeyFile.clear();  // the password alone
    options.Password = "not-the-password";
    const TPublishResult result = Publish(options, Plan());
    EXPECT_NE(result.Failure.find("refused the login of user \"pagolin-publish\""), std::string::npos)
        << result.Failure;
    EXPECT_TRUE(result.Uploaded.empty());
    EXPECT_EQ(result.Failure.find("not-the-password"), std::string::npos);
  }
  TConnectionOptions right = ServerOptions(TPublishProtocol::ppSftp);
  right.PrivateKeyFile.clear();
  right.Password = testing::PublishUserPassword();
  site_.Settings().PublishURL = server_.Url(TPublishProtocol::ppSftp);
  EXPECT_TRUE(Publish(right, Plan()).Succeeded());
}

TEST_F(PublishSftpTest, AnUnknownHostKeyIsRefusedUnlessAcceptedAndThenRemembered) {
  TConnectionOptions options = ServerOptions(TPublishProtocol::ppSftp);
  std::filesystem::create_directories(site_.Site() + "home");  // without its .ssh folder
  options.KnownHostsFile = site_.Site() + "home/.ssh/known_hosts";
  const TPublishUrl url = ParsePublishUrl(site_.Settings().PublishURL);
  const std::string pub = ReadText(testing::kServersState + "ssh_host_ed25519_key.pub");
  const std::string line = "[127.0.0.1]:2222 " + pub.substr(0, pub.find(' ', 12));
  try {
    TCurlFolder(url, options).List();
    ADD_FAILURE() << "an unknown key was taken";
  } catch (const EPublishError& e) {
    EXPECT_NE(std::string(e.what()).find("is not known (SHA256:"), std::string::npos) << e.what();
  }
  std::string asked;
  options.AcceptNewHostKey = [&](const std::string& server, const std::string& fingerprint) {
    asked = server + " " + fingerprint;
    return true;
  };
  EXPECT_NO_THROW(TCurlFolder(url, options).List());
  EXPECT_EQ(ReadText(options.KnownHostsFile), line + "\n");
  EXPECT_EQ(asked.substr(0, asked.find(' ')), "127.0.0.1:2222");
  options.AcceptNewHostKey = nullptr;  // known now: nobody is asked
  EXPECT_NO_THROW(TCurlFolder(url, options).List());
  // A different key for the same server is refused even when a question would accept it.
  WriteBytes(options.KnownHostsFile,
             "[127.0.0.1]:2222 ssh-ed25519 "
             "AAAAC3NzaC1lZDI1NTE5AAAAIBr5D0hK0rD3pN2p6x1V8q3hYwqzjG3y5J9k1aD1nQ3k\n");
  options.AcceptNewHostKey = [](const std::string&, const std::string&) { return true; };
  EXPECT_THROW(TCurlFolder(url, options).List(), EPublishError);
}

TEST_F(PublishSftpTest, AServerStoppedMidPublishLeavesNoHalfFileAndTheNextPublishCompletes) {
  constexpr int kPort = 2223;
  testing::TPrivateSshd sshd(kPort, site_.Site());
  ASSERT_TRUE(sshd.Start()) << ReadText(site_.Site() + "sshd.log");
  site_.Settings().PublishURL = server_.Url(TPublishProtocol::ppSftp, kPort);
  TConnectionOptions options = ServerOptions(TPublishProtocol::ppSftp);
  options.KnownHostsFile = sshd.KnownHostsFile();
  const TPublishTarget target = PublishTarget(site_.Settings());
  const TPublishPlan plan = Plan();
  const std::string big = "viewer.zip";
  {
    TCurlFolder folder(target.Url, options);
    TPublisher publisher(folder, records_, target.Key);
    publisher.OnProgress = [&](const TPublishProgress& p) {
      if (p.Name == big && p.FileBytes > 0) sshd.Stop();
    };
    const TPublishResult broken = publisher.Run(plan);
    EXPECT_NE(broken.Failure.find("127.0.0.1:2223"), std::string::npos) << broken.Failure;
    EXPECT_FALSE(broken.Uploaded.empty());  // what went before the stop
    EXPECT_EQ(std::count(broken.Uploaded.begin(), broken.Uploaded.end(), big), 0);
  }
  // Whatever lies under a file's own name is whole; the half upload is hidden.
  for (const std::string& name : server_.Names()) {
    if (name[0] == '.') continue;
    EXPECT_TRUE(ReadText(server_.Path() + "/" + name) == ReadText(site_.Site() + name)) << name;
  }
  EXPECT_FALSE(server_.Names().count(big));

  ASSERT_TRUE(sshd.Start());
  const TPublishResult next = Publish(options, Plan());
  ASSERT_TRUE(next.Succeeded()) << next.Failure;
  const std::vector<std::string> present = PresentNames();
  EXPECT_EQ(server_.Names(), std::set<std::string>(present.begin(), present.end()));
  ExpectOnServer(options, present);
}

}  // namespace
}  // namespace pagolin
