#include "core/news/mailnews.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/net/ip_misc.h"
#include "support/nntp_peer.h"

namespace pagolin {
namespace {

using test::TTestServer;

// The article lines as the server received them (between POST and the terminator).
std::vector<std::string> ArticleLines(const std::string& received) {
  const std::string start = "POST\r\n";
  const std::size_t from = received.find(start);
  const std::size_t to = received.find("\r\n.\r\n", from);
  if (from == std::string::npos || to == std::string::npos) return {};
  std::vector<std::string> lines;
  std::size_t pos = from + start.size();
  while (pos <= to) {
    const std::size_t end = received.find("\r\n", pos);
    lines.push_back(received.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

struct NewsFixture : ::testing::Test {
  T_NNTP nntp;
  T_News news;
  void SetUp() override {
    nntp.Hostname = "127.0.0.1";
    nntp.SetTimeout(2000);
    news.NNTP = &nntp;
    news.From = "news@example.test";
    news.Subject = "Release 1.2";
    news.Newsgroups = {"local.test"};
    news.Body = {"Line one\r\nLine two"};
  }
  // Posts through a test server and gives the lines it received.
  std::vector<std::string> Post() {
    TTestServer server(test::GoodNewsServer);
    nntp.SetPort(server.Port());
    EXPECT_TRUE(news.Send());
    return ArticleLines(server.Received());
  }
};

TEST_F(NewsFixture, MinimalArticleHasFiveKindsOfHeaderLineInOrder) {
  const std::vector<std::string> lines = Post();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "From: news@example.test");
  EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(Message-ID: <\d+\.[0-9a-z]+\.[0-9a-z]+@[^ <>@]+>)")))
      << lines[1];
  EXPECT_TRUE(std::regex_match(
      lines[2],
      std::regex(
          R"(Date: (Sun|Mon|Tue|Wed|Thu|Fri|Sat), \d{1,2} [A-Z][a-z]{2} \d{4} \d\d:\d\d:\d\d (GMT|[+-]\d{4}))")))
      << lines[2];
  EXPECT_EQ(lines[3], "Subject: Release 1.2");
  EXPECT_EQ(lines[4], "Newsgroups: local.test");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "Line one");
  EXPECT_EQ(lines[7], "Line two");
  EXPECT_TRUE(news.Composed().empty());
}

TEST_F(NewsFixture, OptionalLinesComeInTheirPlaces) {
  news.Organization = "Example Software";
  news.Sender = "poster@example.test";
  news.References = "<1@example.test>";
  news.ReplyTo = "reply@example.test";
  news.Header = {"X-Extra: yes"};
  news.Subject = "";
  news.Newsgroups = {"a.one", "b.two", "c.three"};
  const std::vector<std::string> lines = Post();
  ASSERT_GE(lines.size(), 14u);
  EXPECT_EQ(lines[0], "From: news@example.test");
  EXPECT_EQ(lines[1].rfind("Message-ID: <", 0), 0u);
  EXPECT_EQ(lines[2].rfind("Date: ", 0), 0u);
  EXPECT_EQ(lines[3], "Subject: ");
  EXPECT_EQ(lines[4], "Newsgroups: a.one,");
  EXPECT_EQ(lines[5], "  b.two,");
  EXPECT_EQ(lines[6], "  c.three");
  EXPECT_EQ(lines[7], "Organization: Example Software");
  EXPECT_EQ(lines[8], "Sender: poster@example.test");
  EXPECT_EQ(lines[9], "References: <1@example.test>");
  EXPECT_EQ(lines[10], "Reply-To: reply@example.test");
  EXPECT_EQ(lines[11], "X-Extra: yes");
  EXPECT_EQ(lines[12], "");
  EXPECT_EQ(lines[13], "Line one");
}

TEST_F(NewsFixture, OneItemNamingSeveralGroupsGivesOneLine) {
  news.Newsgroups = {"local.test,local.other"};
  const std::vector<std::string> lines = Post();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[4], "Newsgroups: local.test,local.other");
  EXPECT_EQ(lines[5], "");
}

TEST_F(NewsFixture, TenGroupsArePostedElevenPostNothing) {
  news.Newsgroups.clear();
  for (int i = 0; i < 10; ++i) news.Newsgroups.push_back("g" + std::to_string(i));
  const std::vector<std::string> lines = Post();
  ASSERT_GE(lines.size(), 14u);
  EXPECT_EQ(lines[4], "Newsgroups: g0,");
  EXPECT_EQ(lines[13], "  g9");

  news.Newsgroups.push_back("g10");
  TTestServer server(test::GoodNewsServer);
  nntp.SetPort(server.Port());
  EXPECT_FALSE(news.Send());
  EXPECT_TRUE(news.Composed().empty());
  EXPECT_EQ(nntp.Socket(), kNoSocket);
}

TEST_F(NewsFixture, MissingSenderGroupsOrClientPostNothing) {
  news.From = "";
  EXPECT_FALSE(news.Send());
  news.From = "news@example.test";
  news.Newsgroups.clear();
  EXPECT_FALSE(news.Send());
  news.Newsgroups = {"local.test"};
  news.NNTP = nullptr;
  EXPECT_FALSE(news.Send());
  EXPECT_TRUE(news.Composed().empty());
}

TEST_F(NewsFixture, EmptyBodyEndsWithTheSeparatorLine) {
  news.Body.clear();
  const std::vector<std::string> lines = Post();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[5], "");
}

TEST_F(NewsFixture, LineBreaksInHeaderValuesCannotAddHeaderLines) {
  news.Subject = "Hi\r\nApproved: yes";
  news.From = "a@example.test\nControl: cancel";
  news.Newsgroups = {"local.test\r\nX: y"};
  const std::vector<std::string> lines = Post();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "From: a@example.test Control: cancel");
  EXPECT_EQ(lines[3], "Subject: Hi  Approved: yes");
  EXPECT_EQ(lines[4], "Newsgroups: local.test  X: y");
  EXPECT_EQ(lines[5], "");
}

TEST_F(NewsFixture, HighBytesGetEncodedWordsAndMimeLines) {
  news.Subject = "Neue Version für Sie";
  news.Body = {
      "Grüß"
      "e"};
  const std::vector<std::string> lines = Post();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[3], "Subject: Neue Version =?windows-1252?Q?f=FCr?= Sie");
  EXPECT_EQ(lines[5], "MIME-Version: 1.0");
  EXPECT_EQ(lines[6], "Content-Type: text/plain; charset=windows-1252");
  EXPECT_EQ(lines[7], "Content-Transfer-Encoding: 8bit");
  EXPECT_EQ(lines[8], "");
  EXPECT_EQ(lines[9],
            "Gr\xFC\xDF"
            "e");  // the body goes as its bytes
}

TEST_F(NewsFixture, AFailedPostLeavesNothingForTheNextArticle) {
  // Refuses the first POST, takes the second.
  test::TPostingServer script;
  script.refusals = {"440 no posting\r\n"};
  TTestServer server([&](test::TPeer& peer) { script(peer); }, 2);
  nntp.SetPort(server.Port());
  EXPECT_THROW(news.Send(), EProtocolError);
  EXPECT_TRUE(news.Composed().empty());
  EXPECT_TRUE(news.Send());
  const std::string received = server.Received();
  // The second article holds only its own lines, after the first connection said QUIT.
  const std::vector<std::string> lines = ArticleLines(received.substr(received.find("QUIT")));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "From: news@example.test");
}

// Once the server has taken the article, a lost goodbye must not make it look unsent: the
// posting would be sent a second time by the next command.
TEST_F(NewsFixture, AGoodbyeLostAfterTheArticleWasTakenStillCountsAsPosted) {
  TTestServer server([](test::TPeer& peer) {
    test::NewsServerDialogue(peer, [](test::TPeer&) {});  // closes without a reply to QUIT
  });
  nntp.SetPort(server.Port());
  EXPECT_TRUE(news.Send());
  EXPECT_EQ(nntp.Socket(), kNoSocket);
  EXPECT_FALSE(nntp.LoggedIn());
}

TEST(MessageId, DiffersBetweenArticlesOfTheSameSecond) {
  std::set<std::string> ids;
  for (int i = 0; i < 1000; ++i) ids.insert(T_MailNews::NewMessageId());
  EXPECT_EQ(ids.size(), 1000u);
  const std::string id = *ids.begin();
  EXPECT_EQ(id.front(), '<');
  EXPECT_EQ(id.back(), '>');
  EXPECT_NE(id.find('@' + LocalHostName() + '>'), std::string::npos);
}

TEST(MailNews, ComposesOntoWhatTheArticleAlreadyHolds) {
  struct Probe : T_MailNews {
    void Preload() { article_ = {"Newsgroups: x"}; }
  } probe;
  probe.From = "a@b.test";
  probe.Preload();
  probe.Send();
  const auto& lines = probe.Composed();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "From: a@b.test");
  EXPECT_EQ(lines[3], "Subject: ");
  EXPECT_EQ(lines[4], "Newsgroups: x");
  EXPECT_EQ(lines[5], "");
}

}  // namespace
}  // namespace pagolin
