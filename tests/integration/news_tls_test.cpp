// T_News over TLS, STARTTLS and with a login, against the real news servers of
// tests/integration/start-servers: every mode posts an article that is read back; the
// failures a publisher meets there (a wrong password, a certificate nobody vouches for) say
// what happened, and the password shows nowhere.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/news/mailnews.h"
#include "core/news/newspost.h"
#include "support/news_reader.h"
#include "support/news_servers.h"

namespace pagolin {
namespace {

using test::kLoginPassword;
using test::kLoginUser;

struct TMode {
  const char* Name;
  const char* Host;
  std::uint16_t Port;
  TNewsSecurity Security;
  bool Login;
};

const TMode kModes[] = {
    {"STARTTLS", test::kOpenServer, test::kPlainPort, TNewsSecurity::nsStartTls, false},
    {"TLS", test::kOpenServer, test::kTlsPort, TNewsSecurity::nsTls, false},
    {"None with login", test::kLoginServer, test::kPlainPort, TNewsSecurity::nsNone, true},
    {"STARTTLS with login", test::kLoginServer, test::kPlainPort, TNewsSecurity::nsStartTls, true},
    {"TLS with login", test::kLoginServer, test::kTlsPort, TNewsSecurity::nsTls, true},
};

class SecureNewsServer : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TNewsReader probe;
    ASSERT_TRUE(probe.Ready()) << test::kServerMissing;
    news.NNTP = &nntp;
    news.From = "Pagolin Test <pagolin@example.test>";
    news.Newsgroups = {"local.test"};
    news.Body = {"Sent securely"};
    nntp.SetTimeout(10000);
    nntp.CAFile = test::kTestCAFile;
    nntp.OnTrace = [this](const std::string& text, TTraceLevel) { traces += text + "\n"; };
  }
  void Use(const TMode& mode, const std::string& password = kLoginPassword) {
    nntp.Hostname = mode.Host;
    nntp.SetPort(mode.Port);
    nntp.Security = mode.Security;
    nntp.User = mode.Login ? kLoginUser : "";
    nntp.Password = mode.Login ? password : "";
  }

  T_NNTP nntp;
  T_News news;
  std::string traces;
};

TEST_F(SecureNewsServer, EveryModePostsAnArticleThatIsReadBack) {
  for (const TMode& mode : kModes) {
    SCOPED_TRACE(mode.Name);
    Use(mode);
    traces.clear();
    news.Subject = std::string("Pagolin ") + mode.Name + " " + test::UniqueToken();
    ASSERT_NO_THROW(ASSERT_TRUE(news.Send())) << traces;
    EXPECT_EQ(nntp.StatusCode, 205);
    EXPECT_EQ(traces.find("TLS on socket ID") == std::string::npos, mode.Security == TNewsSecurity::nsNone);
    EXPECT_EQ(traces.find("\n281 ") != std::string::npos, mode.Login) << traces;
    EXPECT_EQ(traces.find(kLoginPassword), std::string::npos) << traces;
    test::TNewsReader reader;
    const auto stored = test::SplitArticle(reader.ArticleBySubject("local.test", "Subject: " + news.Subject));
    EXPECT_EQ(stored.body, std::vector<std::string>{"Sent securely"});
  }
}

// The real server's answers to a wrong password and to a client that does not trust the test
// authority (the system's trust store lacks it); the password shows in neither.
TEST_F(SecureNewsServer, AWrongPasswordAndAnUntrustedAuthorityStopThePosting) {
  const struct {
    const char* Name;
    TMode Mode;
    const char* Password;
    const char* CAFile;
    std::string Reason;
  } cases[] = {
      {"wrong password", kModes[4], "not-the-password", test::kTestCAFile,
       "Login refused by the news server (481 Authentication failed)"},
      {"authority not trusted", kModes[4], kLoginPassword, "",
       "The server's certificate is not trusted (unable to get local issuer certificate)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Use(c.Mode, c.Password);
    nntp.CAFile = c.CAFile;
    traces.clear();
    news.Subject = "Pagolin failing " + test::UniqueToken();
    std::string reason;
    try {
      news.Send();
    } catch (const ETcpIpError& e) {
      reason = PostingFailureReason(e);
    }
    EXPECT_EQ(reason, c.Reason);
    EXPECT_EQ((traces + reason).find(c.Password), std::string::npos);
  }
}

}  // namespace
}  // namespace pagolin
