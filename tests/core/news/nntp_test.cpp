#include "core/news/nntp.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "support/nntp_peer.h"

namespace pagolin {
namespace {

using test::TPeer;
using test::TTestServer;

// The EProtocolError that action raises (a test failure when it raises none).
template <class F>
EProtocolError CatchProtocolError(F&& action) {
  try {
    action();
  } catch (const EProtocolError& e) {
    return e;
  }
  ADD_FAILURE() << "no EProtocolError";
  return EProtocolError("", 0, "");
}

void Connect(T_NNTP& client, const TTestServer& server) {
  client.Hostname = "127.0.0.1";
  client.SetPort(server.Port());
  client.SetTimeout(2000);
}

TEST(Nntp, DefaultPortIs119) { EXPECT_EQ(T_NNTP().Port(), 119); }

TEST(Nntp, StatusIsTheFirstThreeCharactersWhenTheyAreANumber) {
  EXPECT_EQ(T_NNTP::ParseStatus("200 ready"), 200);
  EXPECT_EQ(T_NNTP::ParseStatus("399"), 399);
  EXPECT_EQ(T_NNTP::ParseStatus("4001 more"), 400);
  EXPECT_EQ(T_NNTP::ParseStatus("2"), 2);
  EXPECT_EQ(T_NNTP::ParseStatus("abc def"), 999);
  EXPECT_EQ(T_NNTP::ParseStatus("20 x"), 999);
  EXPECT_EQ(T_NNTP::ParseStatus(""), 999);
  EXPECT_EQ(T_NNTP::ParseStatus("-12"), 999);
}

TEST(Nntp, DotStuffingDoublesALeadingDotOnEveryLine) {
  EXPECT_EQ(T_NNTP::DotStuff("."), "..\r\n");
  EXPECT_EQ(T_NNTP::DotStuff(""), "\r\n");
  EXPECT_EQ(T_NNTP::DotStuff("a.b"), "a.b\r\n");
  EXPECT_EQ(T_NNTP::DotStuff("first\r\n.second\r\n..third"), "first\r\n..second\r\n...third\r\n");
  // A bare LF or CR is a line break as well: it must never smuggle in a lone "." line.
  EXPECT_EQ(T_NNTP::DotStuff("a\n.\nb"), "a\r\n..\r\nb\r\n");
  EXPECT_EQ(T_NNTP::DotStuff("a\r.\r\rb"), "a\r\n..\r\n\r\nb\r\n");
  EXPECT_EQ(T_NNTP::DotStuff("ends\r\n"), "ends\r\n\r\n");
}

// Replies of a scripted server, one per line the client sends after the greeting.
struct ScriptedReplies {
  std::string greeting;
  std::string modeReader = "200 reader\r\n";
  std::string post = "340 go\r\n";
  std::string afterArticle = "240 ok\r\n";
  std::string quit = "205 bye\r\n";
  void operator()(TPeer& peer) const {
    peer.Send(greeting);
    std::string line;
    while (peer.ReadLine(line)) {
      if (line == "MODE READER") {
        peer.Send(modeReader);
      } else if (line == "POST") {
        peer.Send(post);
        if (post.rfind("340", 0) == 0) {
          peer.ReadArticle();
          peer.Send(afterArticle);
        }
      } else if (line == "QUIT") {
        peer.Send(quit);
        return;
      }
    }
  }
};

TEST(Nntp, PostArticleSendsTheDialogueAndTheArticleDotStuffed) {
  TTestServer server(test::GoodNewsServer);
  T_NNTP client;
  Connect(client, server);
  std::vector<std::string> trace;
  client.OnTrace = [&](const std::string& s, TTraceLevel level) {
    if (level != TTraceLevel::tlSocket) trace.push_back(std::to_string(static_cast<int>(level)) + s);
  };
  const std::vector<std::string> article{"Subject: x", "", ".", "two\r\n.lines", "end"};
  client.SetArticle(&article);
  client.PostArticle();  // logs in by itself
  client.Logout();
  EXPECT_EQ(server.Received(),
            "MODE READER\r\nPOST\r\nSubject: x\r\n\r\n..\r\ntwo\r\n..lines\r\nend\r\n.\r\nQUIT\r\n");
  EXPECT_EQ(trace,
            (std::vector<std::string>{"1200 test server ready", "0MODE READER", "1200 reader mode", "0POST",
                                      "1340 send article", "1240 article received", "0QUIT", "1205 bye"}));
  EXPECT_EQ(client.StatusCode, 205);
  EXPECT_EQ(client.StatusText, "bye");
  EXPECT_FALSE(client.LoggedIn());
}

TEST(Nntp, EmptyArticleSendsOnlyTheTerminator) {
  TTestServer server(test::GoodNewsServer);
  T_NNTP client;
  Connect(client, server);
  client.Login();
  client.SetArticle(nullptr);
  client.PostArticle();
  client.Logout();
  EXPECT_EQ(server.Received(), "MODE READER\r\nPOST\r\n.\r\nQUIT\r\n");
}

TEST(Nntp, ReplyOfThreeDigitsHasEmptyTextAnd399IsSuccess) {
  TTestServer server([](TPeer& peer) {
    peer.Send("399\r\n200 x\r\n");
    peer.WaitForClose();
  });
  T_NNTP client;
  Connect(client, server);
  client.T_TcpIp::Login();  // the connection only; the replies are read one by one below
  client.ReadResponse();
  EXPECT_EQ(client.StatusCode, 399);
  EXPECT_EQ(client.StatusText, "");
  client.ReadResponse();
  EXPECT_EQ(client.StatusCode, 200);
  EXPECT_EQ(client.StatusText, "x");
  client.T_TcpIp::Logout();
}

TEST(Nntp, GreetingOf400RaisesWithTheReplyText) {
  ScriptedReplies replies;
  replies.greeting = "400 service not available\r\n";
  TTestServer server(replies);
  T_NNTP client;
  Connect(client, server);
  const EProtocolError e = CatchProtocolError([&] { client.Login(); });
  EXPECT_STREQ(e.what(), "service not available");
  EXPECT_EQ(e.ErrorCode, 400);
  EXPECT_EQ(e.Protocol, "NNTP");
  EXPECT_EQ(client.StatusCode, 400);
}

TEST(Nntp, GarbageGreetingRaisesWith999QuotesItWholeAndGetsNoQuit) {
  ScriptedReplies replies;
  replies.greeting = "HELLO garbage\r\n";
  TTestServer server(replies);
  T_NNTP client;
  Connect(client, server);
  const EProtocolError e = CatchProtocolError([&] { client.Login(); });
  EXPECT_EQ(e.ErrorCode, 999);
  EXPECT_STREQ(e.what(), "The news server answered without a status: HELLO garbage");
  EXPECT_EQ(client.StatusText, "O garbage");
  client.Logout();
  EXPECT_EQ(server.Received(), "");
}

// One endless line cannot fill the memory: the client stops reading at the limit, so the
// server gets rid of only so much before its sends fail.
TEST(Nntp, AnEndlessReplyLineEndsTheConnectionAtTheLineLimit) {
  std::atomic<std::size_t> taken{0};
  TTestServer server([&](TPeer& peer) {
    const std::string chunk(1 << 16, 'x');
    while (taken < (std::size_t{1} << 30) && peer.Send(chunk)) taken += chunk.size();
  });
  T_NNTP client;
  Connect(client, server);
  const EProtocolError e = CatchProtocolError([&] { client.Login(); });
  EXPECT_EQ(e.ErrorCode, 999);
  EXPECT_STREQ(e.what(), "The news server sent a reply line longer than 4096 bytes");
  client.Logout();
  server.Received();
  EXPECT_LT(taken.load(), std::size_t{64} << 20);
}

TEST(Nntp, OnlyARefusalNamingADuplicateArticleCountsAsDuplicate) {
  const std::vector<std::pair<EProtocolError, bool>> cases{
      {{"435 Duplicate", 441, "NNTP"}, true},
      {{"Duplicate", 441, "NNTP"}, true},
      {{"duplicate article", 435, "NNTP"}, true},
      {{"Duplicate message-ID", 441, "NNTP"}, true},
      {{"Duplicate \"Subject\" header", 441, "NNTP"}, false},
      {{"437 Duplicate", 441, "NNTP"}, false},
      {{"435 Duplicate", 440, "NNTP"}, false},
      {{"posting failed", 441, "NNTP"}, false}};
  for (const auto& [error, duplicate] : cases)
    EXPECT_EQ(T_NNTP::IsDuplicateRefusal(error), duplicate) << error.ErrorCode << " " << error.what();
}

TEST(Nntp, NoGreetingRaisesAClearError) {
  TTestServer server([](TPeer&) {});  // accepts and closes at once
  T_NNTP client;
  Connect(client, server);
  const EProtocolError e = CatchProtocolError([&] { client.Login(); });
  EXPECT_EQ(e.ErrorCode, 999);
  EXPECT_STREQ(e.what(), "The news server closed the connection without a complete reply");
}

TEST(Nntp, ReplyCutOffBeforeItsEndRaises) {
  ScriptedReplies replies;
  replies.greeting = "200 hello\r\n";
  replies.post = "34";  // then the connection ends
  TTestServer server([replies](TPeer& peer) {
    peer.Send(replies.greeting);
    std::string line;
    peer.ReadLine(line);
    peer.Send(replies.modeReader);
    peer.ReadLine(line);
    peer.Send(replies.post);
  });
  T_NNTP client;
  Connect(client, server);
  const std::vector<std::string> article{"body"};
  client.SetArticle(&article);
  const EProtocolError e = CatchProtocolError([&] { client.PostArticle(); });
  EXPECT_EQ(e.ErrorCode, 999);
  // No article line went out after the failed POST.
  EXPECT_EQ(server.Received(), "MODE READER\r\nPOST\r\n");
}

TEST(Nntp, SilentServerEndsAtTheTimeLimitWithAClearReason) {
  TTestServer server([](TPeer& peer) { peer.WaitForClose(); });
  T_NNTP client;
  Connect(client, server);
  client.SetTimeout(300);
  const EProtocolError e = CatchProtocolError([&] { client.Login(); });
  EXPECT_EQ(e.ErrorCode, 999);
  EXPECT_STREQ(e.what(), "No reply from the news server within 0.3 seconds");
}

TEST(Nntp, RefusedModeReaderIsIgnoredAndPostRefusalSendsNoArticle) {
  ScriptedReplies replies;
  replies.greeting = "201 no posting\r\n";
  replies.modeReader = "502 no\r\n";
  replies.post = "440 posting not allowed\r\n";
  TTestServer server(replies);
  T_NNTP client;
  Connect(client, server);
  client.Login();
  const std::vector<std::string> article{"Subject: x", "", "body"};
  client.SetArticle(&article);
  const EProtocolError e = CatchProtocolError([&] { client.PostArticle(); });
  EXPECT_EQ(e.ErrorCode, 440);
  EXPECT_STREQ(e.what(), "posting not allowed");
  EXPECT_TRUE(client.LoggedIn());  // left open; the next Login or Logout says QUIT
  client.Logout();
  EXPECT_EQ(server.Received(), "MODE READER\r\nPOST\r\nQUIT\r\n");
}

TEST(Nntp, ArticleRejectedAfterTheTerminatorRaisesTheServersText) {
  ScriptedReplies replies;
  replies.greeting = "200 hi\r\n";
  replies.afterArticle = "441 435 Duplicate\r\n";
  TTestServer server(replies);
  T_NNTP client;
  Connect(client, server);
  client.Login();
  const std::vector<std::string> article{"x"};
  client.SetArticle(&article);
  const EProtocolError e = CatchProtocolError([&] { client.PostArticle(); });
  EXPECT_EQ(e.ErrorCode, 441);
  EXPECT_STREQ(e.what(), "435 Duplicate");
}

TEST(Nntp, QuitRefusedStillClosesTheSocket) {
  ScriptedReplies replies;
  replies.greeting = "200 hi\r\n";
  replies.quit = "500 no\r\n";
  TTestServer server(replies);
  T_NNTP client;
  Connect(client, server);
  client.Login();
  EXPECT_THROW(client.Logout(), EProtocolError);
  EXPECT_EQ(client.Socket(), kNoSocket);
  EXPECT_FALSE(client.LoggedIn());
}

// A connection left open by a failure must not make the next attempt fail as well.
TEST(Nntp, LoginAfterALostConnectionStartsAfresh) {
  int connection = 0;
  TTestServer server(
      [&](TPeer& peer) {
        if (connection++ == 0) {
          peer.Send("200 hi\r\n");
          std::string line;
          peer.ReadLine(line);
          peer.Send("200 reader\r\n");
          return;  // gone without a word
        }
        test::GoodNewsServer(peer);
      },
      2);
  T_NNTP client;
  Connect(client, server);
  client.Login();
  const std::vector<std::string> article{"x"};
  client.SetArticle(&article);
  EXPECT_THROW(client.PostArticle(), EProtocolError);
  client.Login();
  client.PostArticle();
  client.Logout();
  EXPECT_EQ(client.StatusCode, 205);
}

TEST(Nntp, DestroyingAConnectedClientSaysQuit) {
  TTestServer server(test::GoodNewsServer);
  {
    T_NNTP client;
    Connect(client, server);
    client.Login();
  }
  EXPECT_EQ(server.Received(), "MODE READER\r\nQUIT\r\n");
}

}  // namespace
}  // namespace pagolin
