// T_NNTP with TLS, STARTTLS and the login, against scripted servers on loopback that speak TLS
// with certificates made for the test: what reaches the server and when, and the message of
// every way it can go wrong.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "core/news/mailnews.h"
#include "core/news/nntp.h"
#include "support/nntp_peer.h"
#include "support/tls_peer.h"

namespace pagolin {
namespace {

using test::TPeer;
using test::TTestCertificate;
using test::TTestServer;
using test::TTlsServerContext;

// A certificate for 127.0.0.1, and one for another name; made once for all tests.
class NntpTls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    forLoopback = new TTestCertificate("IP:127.0.0.1");
    forOtherName = new TTestCertificate("DNS:news.example.test");
    ASSERT_TRUE(forLoopback->Ok() && forOtherName->Ok()) << "openssl could not make the certificates";
  }
  static void TearDownTestSuite() {
    delete forLoopback;
    delete forOtherName;
  }
  void Connect(const TTestServer& server, TNewsSecurity security, const std::string& caFile) {
    nntp.Hostname = "127.0.0.1";
    nntp.SetPort(server.Port());
    nntp.SetTimeout(2000);
    nntp.Security = security;
    nntp.CAFile = caFile;
    nntp.OnTrace = [this](const std::string& text, TTraceLevel) { traces += text + "\n"; };
  }
  // The message Login fails with ("" when it does not fail).
  std::string LoginFailure() {
    try {
      nntp.Login();
    } catch (const ETcpIpError& e) {
      return e.what();
    }
    return {};
  }

  static TTestCertificate* forLoopback;
  static TTestCertificate* forOtherName;
  T_NNTP nntp;
  std::string traces;
};
TTestCertificate* NntpTls::forLoopback = nullptr;
TTestCertificate* NntpTls::forOtherName = nullptr;

// A news server that answers each command from replies (after the greeting); STARTTLS
// answered 382 begins TLS with tls. Commands it has no reply for get 500.
void Serve(TPeer& peer, const std::map<std::string, std::string>& replies, TTlsServerContext* tls) {
  peer.Send("200 ready\r\n");
  std::string line;
  while (peer.ReadLine(line)) {
    const auto it = replies.find(line);
    const std::string reply = it != replies.end() ? it->second : "500 what?\r\n";
    peer.Send(reply);
    if (line == "STARTTLS" && reply.rfind("382", 0) == 0 && !(tls && tls->Accept(peer))) return;
    if (line == "POST" && reply.rfind("340", 0) == 0) {
      peer.ReadArticle();
      peer.Send("240 ok\r\n");
    }
    if (line == "QUIT") return;
  }
}

TEST_F(NntpTls, HandshakeFailuresSayWhatWentWrong) {
  struct TCase {
    const char* Name;
    TTestCertificate* Certificate;          // the server's; null: it does not speak TLS
    std::function<void(TPeer&)> Misbehave;  // instead of the handshake
    std::string CAFile;
    std::string Message;
  };
  const TCase cases[] = {
      {"self-signed, not trusted", forLoopback, nullptr, "",
       "The server's certificate is not trusted (self-signed certificate)"},
      {"trusted, for another name", forOtherName, nullptr, forOtherName->File(),
       "Host name does not match the certificate"},
      {"drops in the handshake", nullptr,
       [](TPeer& p) {
         char hello[64];
         ::recv(p.Fd(), hello, sizeof hello, 0);
       },
       forLoopback->File(), "The server closed the connection during the TLS handshake"},
      {"never answers", nullptr, [](TPeer& p) { p.WaitForClose(); }, forLoopback->File(),
       "The server did not finish the TLS handshake within 0.3 seconds"},
      {"plain news server", nullptr,
       [](TPeer& p) {
         p.Send("200 ready\r\n");
         p.WaitForClose();
       },
       forLoopback->File(), "The server does not speak TLS on this port (wrong version number)"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TTlsServerContext> tls;
    if (c.Certificate) tls = std::make_unique<TTlsServerContext>(*c.Certificate);
    TTestServer server([&](TPeer& p) { c.Misbehave ? c.Misbehave(p) : void(tls->Accept(p)); });
    Connect(server, TNewsSecurity::nsTls, c.CAFile);
    nntp.SetTimeout(300);
    EXPECT_EQ(LoginFailure(), c.Message);
    EXPECT_EQ(nntp.Socket(), kNoSocket);
    EXPECT_FALSE(nntp.LoggedIn());
  }
}

TEST_F(NntpTls, ACAFileThatCannotBeReadIsNamed) {
  TTestServer server([](TPeer& p) { p.WaitForClose(); });
  Connect(server, TNewsSecurity::nsTls, "/nonexistent/ca.pem");
  EXPECT_EQ(
      LoginFailure().rfind("The CA file \"/nonexistent/ca.pem\" cannot be read or holds no certificate (", 0),
      0u);
}

// The login goes over TLS only: STARTTLS after reader mode, then the password, which no trace
// shows; the article follows on the same connection.
TEST_F(NntpTls, StartTlsComesBeforeTheLoginAndThePostingFollows) {
  TTlsServerContext tls(*forLoopback);
  TTestServer server([&](TPeer& p) {
    Serve(p,
          {{"MODE READER", "200 reader\r\n"},
           {"STARTTLS", "382 go ahead\r\n"},
           {"AUTHINFO USER jo", "381 password?\r\n"},
           {"AUTHINFO PASS s3cret", "281 welcome\r\n"},
           {"POST", "340 send\r\n"},
           {"QUIT", "205 bye\r\n"}},
          &tls);
  });
  Connect(server, TNewsSecurity::nsStartTls, forLoopback->File());
  nntp.User = "jo";
  nntp.Password = "s3cret";
  T_News news;
  news.NNTP = &nntp;
  news.From = "jo@example.test";
  news.Newsgroups = {"local.test"};
  news.Subject = "over TLS";
  ASSERT_TRUE(news.Send()) << traces;
  const std::string received = server.Received();
  EXPECT_EQ(received.substr(0, received.find("POST")),
            "MODE READER\r\nSTARTTLS\r\nAUTHINFO USER jo\r\nAUTHINFO PASS s3cret\r\n");
  EXPECT_NE(traces.find("TLS on socket ID"), std::string::npos);
  EXPECT_NE(traces.find("AUTHINFO PASS ********"), std::string::npos);
  EXPECT_EQ(traces.find("s3cret"), std::string::npos) << traces;
}

// Whatever the server answers to STARTTLS or slips in before TLS, no login is sent.
TEST_F(NntpTls, AStartTlsThatFailsStopsBeforeTheLogin) {
  struct TCase {
    const char* Reply;
    std::string Message;
  };
  const TCase cases[] = {
      {"502 not here\r\n", "The server does not offer STARTTLS"},
      {"580 TLS broken\r\n", "The server could not begin TLS (580 TLS broken)"},
      {"382 go ahead\r\n200 injected\r\n", "The server sent more than its answer before TLS began"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Reply);
    TTestServer server([&](TPeer& p) {
      Serve(p, {{"MODE READER", "200 reader\r\n"}, {"STARTTLS", c.Reply}, {"QUIT", "205 bye\r\n"}}, nullptr);
    });
    Connect(server, TNewsSecurity::nsStartTls, forLoopback->File());
    nntp.User = "jo";
    nntp.Password = "s3cret";
    EXPECT_EQ(LoginFailure(), c.Message);
    nntp.Logout();
    EXPECT_EQ(server.Received().find("AUTHINFO"), std::string::npos);
  }
}

TEST_F(NntpTls, LoginAnswersBecomeMessagesWithoutThePassword) {
  struct TCase {
    const char* Name;
    std::map<std::string, std::string> Replies;
    std::string User;
    std::string Message;  // "" for success
  };
  const std::string pass = "AUTHINFO PASS s3cret";
  const TCase cases[] = {
      {"accepted", {{"AUTHINFO USER jo", "381 more\r\n"}, {pass, "281 ok\r\n"}}, "jo", ""},
      {"no password wanted", {{"AUTHINFO USER jo", "281 ok\r\n"}}, "jo", ""},
      {"user refused",
       {{"AUTHINFO USER jo", "481 no such user\r\n"}},
       "jo",
       "Login refused by the news server (481 no such user)"},
      {"password refused, echoed",
       {{"AUTHINFO USER jo", "381 more\r\n"}, {pass, "481 s3cret is wrong\r\n"}},
       "jo",
       "Login refused by the news server (481 ******** is wrong)"},
      {"wants encryption",
       {{"AUTHINFO USER jo", "483 TLS first\r\n"}},
       "jo",
       "The news server wants an encrypted connection for the login (483 TLS first): choose STARTTLS or TLS "
       "in the settings"},
      {"a line break in the name",
       {},
       "jo\r\nPOST",
       "The user name or the password holds a line break, which a news server cannot take"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto replies = c.Replies;
    replies["MODE READER"] = "200 reader\r\n";
    replies["QUIT"] = "205 bye\r\n";
    TTestServer server([&](TPeer& p) { Serve(p, replies, nullptr); });
    Connect(server, TNewsSecurity::nsNone, "");
    nntp.User = c.User;
    nntp.Password = "s3cret";
    EXPECT_EQ(LoginFailure(), c.Message);
    EXPECT_EQ(nntp.SessionReady(), c.Message.empty());
    nntp.Logout();
    EXPECT_EQ(traces.find("s3cret"), std::string::npos) << traces;
  }
}

TEST_F(NntpTls, APostRefusedForWantOfALoginSaysSo) {
  TTestServer server([](TPeer& p) {
    Serve(p,
          {{"MODE READER", "200 reader\r\n"},
           {"POST", "480 Authentication required\r\n"},
           {"QUIT", "205 bye\r\n"}},
          nullptr);
  });
  Connect(server, TNewsSecurity::nsNone, "");
  try {
    nntp.PostArticle();
    FAIL() << "posted";
  } catch (const ELoginError& e) {
    EXPECT_STREQ(e.what(),
                 "The news server wants a login (480 Authentication required): enter the user name and the "
                 "password in the settings");
  }
  nntp.Logout();
}

// A server that keeps sessions lets the next connection skip the full handshake.
TEST_F(NntpTls, ASecondConnectionResumesTheSession) {
  TTlsServerContext tls(*forLoopback);
  TTestServer server(
      [&](TPeer& p) {
        if (tls.Accept(p)) Serve(p, {{"MODE READER", "200 reader\r\n"}, {"QUIT", "205 bye\r\n"}}, nullptr);
      },
      2);
  Connect(server, TNewsSecurity::nsTls, forLoopback->File());
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(LoginFailure(), "") << i;
    EXPECT_TRUE(nntp.TlsActive());
    EXPECT_EQ(nntp.TlsResumed(), i == 1) << i;
    nntp.Logout();
  }
}

}  // namespace
}  // namespace pagolin
