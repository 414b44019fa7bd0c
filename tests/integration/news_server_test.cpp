// T_News and T_NNTP against the real news server on 127.0.0.1:119 (tests/integration/
// start-servers): every article is read back and compared line by line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/news/mailnews.h"
#include "core/news/newspost.h"
#include "core/platform/sqlitedb.h"
#include "support/news_reader.h"
#include "support/pythonref.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

using test::SplitArticle;
using test::TNewsReader;

class RealNewsServer : public ::testing::Test {
 protected:
  void SetUp() override {
    TNewsReader probe;
    ASSERT_TRUE(probe.Ready()) << test::kServerMissing << " Greeting: \"" << probe.Greeting() << "\"";
    nntp.Hostname = "127.0.0.1";
    nntp.SetTimeout(10000);
    news.NNTP = &nntp;
    news.From = "Pagolin Test <pagolin@example.test>";
    news.Newsgroups = {"local.test"};
  }

  // The header lines this client composed for its last article (the client keeps a copy).
  std::vector<std::string> SentHeader() const { return SplitArticle(SplitLines(nntp.Article())).header; }
  std::vector<std::string> SentBody() const { return SplitArticle(SplitLines(nntp.Article())).body; }
  std::string SentMessageId() const {
    for (const std::string& line : SentHeader()) {
      if (line.rfind("Message-ID: ", 0) == 0) return line.substr(12);
    }
    return {};
  }
  // Items of the composed article split into the lines that went on the wire.
  static std::vector<std::string> SplitLines(const std::vector<std::string>& items) {
    std::vector<std::string> lines;
    for (const std::string& item : items) {
      std::size_t start = 0;
      for (;;) {
        const std::size_t crlf = item.find("\r\n", start);
        lines.push_back(item.substr(start, crlf == std::string::npos ? std::string::npos : crlf - start));
        if (crlf == std::string::npos) break;
        start = crlf + 2;
      }
    }
    return lines;
  }
  // Every header line sent is in the stored article, and the stored body is the body sent.
  void ExpectStoredAsSent() {
    const std::string id = SentMessageId();
    ASSERT_FALSE(id.empty());
    TNewsReader reader;
    const auto stored = SplitArticle(reader.Article(id));
    ASSERT_FALSE(stored.header.empty()) << "article " << id << " not on the server";
    for (const std::string& line : SentHeader()) {
      EXPECT_NE(std::find(stored.header.begin(), stored.header.end(), line), stored.header.end())
          << "header line not stored as sent: " << line;
    }
    EXPECT_EQ(stored.body, SentBody());
  }

  T_NNTP nntp;
  T_News news;
};

TEST_F(RealNewsServer, ArticleIsStoredWithEveryHeaderLineAndTheBodyDotStuffed) {
  news.Subject = "Pagolin integration " + test::UniqueToken();
  news.ReplyTo = "reply@example.test";
  news.Organization = "Example Software";
  news.Body = {"First line\r\n.leading dot\r\n.\r\n..two dots\r\n\r\nafter an empty line", "last item"};
  ASSERT_TRUE(news.Send());
  EXPECT_EQ(nntp.StatusCode, 205);  // the goodbye of the last step
  ExpectStoredAsSent();
  const auto body = SentBody();
  EXPECT_EQ(body, (std::vector<std::string>{"First line", ".leading dot", ".", "..two dots", "",
                                            "after an empty line", "last item"}));
}

TEST_F(RealNewsServer, TwoGroupsOnContinuationLinesReachBothGroups) {
  news.Subject = "Pagolin two groups " + test::UniqueToken();
  news.Newsgroups = {"local.test", "local.other"};
  news.Body = {"to both"};
  ASSERT_TRUE(news.Send());
  ExpectStoredAsSent();
  TNewsReader reader;
  EXPECT_FALSE(reader.ArticleBySubject("local.other", "Subject: " + news.Subject).empty());
}

TEST_F(RealNewsServer, TwoArticlesInOneSecondAreBothAccepted) {
  const std::string token = test::UniqueToken();
  std::vector<std::string> ids;
  for (int i = 0; i < 2; ++i) {
    news.Subject = "Pagolin same second " + std::to_string(i) + " " + token;
    news.Body = {"same body"};
    ASSERT_NO_THROW(news.Send()) << "article " << i;
    ids.push_back(SentMessageId());
  }
  EXPECT_NE(ids[0], ids[1]);
  TNewsReader reader;
  for (const std::string& id : ids) EXPECT_FALSE(reader.Article(id).empty()) << id;
}

TEST_F(RealNewsServer, GermanSubjectAndBodyArriveIntactInTheCodePage) {
  const std::string token = test::UniqueToken();
  news.Subject = "Neue Version für Sie – Grüße " + token;
  news.From = "Jörg Müller <jm@example.test>";
  news.Body = {"Grüße aus München\r\nÄnderungen: € 5,00"};
  ASSERT_TRUE(news.Send());
  ExpectStoredAsSent();
  const auto header = SentHeader();
  EXPECT_NE(std::find(header.begin(), header.end(), "Content-Type: text/plain; charset=windows-1252"),
            header.end());
  EXPECT_NE(
      std::find(header.begin(), header.end(), "From: =?windows-1252?Q?J=F6rg_M=FCller?= <jm@example.test>"),
      header.end());
  EXPECT_EQ(SentBody(), (std::vector<std::string>{"Gr\xFC\xDF"
                                                  "e aus M\xFCnchen",
                                                  "\xC4nderungen: \x80 5,00"}));
}

// Text the code page cannot hold goes out in UTF-8; Python's e-mail reader, given the article
// as the server stores it, reads the same subject, sender and body.
TEST_F(RealNewsServer, TextInAnyLanguageIsReadBackAsWritten) {
  const std::string token = test::UniqueToken();
  news.Subject = "Grüße aus Łódź – 中文 😀 " + token;
  news.From = "Zażółć Gęślą <zg@example.test>";
  news.Body = {"Grüße aus München\r\nZażółć gęślą jaźń\r\n中文字符 😀 €"};
  ASSERT_TRUE(news.Send());
  ExpectStoredAsSent();
  const auto header = SentHeader();
  EXPECT_NE(std::find(header.begin(), header.end(), "Content-Type: text/plain; charset=UTF-8"), header.end());
  std::string stored;
  for (const std::string& line : TNewsReader().Article(SentMessageId())) stored += line + "\r\n";
  const std::vector<std::string> read = testing::PythonMap(
      "import email.policy\n"
      "def fields(b):\n"
      "    m = email.message_from_bytes(b, policy=email.policy.default)\n"
      "    return '\\n'.join([str(m['Subject']), str(m['From']), m.get_content().replace('\\r\\n', "
      "'\\n').rstrip()]).encode()\n",
      "fields(b)", {stored});
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0],
            news.Subject + "\n" + news.From + "\nGrüße aus München\nZażółć gęślą jaźń\n中文字符 😀 €");
}

TEST_F(RealNewsServer, RefusedPostArrivesAsProtocolError) {
  news.Subject = "Pagolin refused " + test::UniqueToken();
  news.Newsgroups = {"local.nosuchgroup"};
  news.Body = {"nobody takes this"};
  try {
    news.Send();
    FAIL() << "the server took a post to a group it does not carry";
  } catch (const EProtocolError& e) {
    EXPECT_GE(e.ErrorCode, 400);
    EXPECT_LT(e.ErrorCode, 500);
    EXPECT_EQ(e.Protocol, "NNTP");
    EXPECT_STRNE(e.what(), "");
  }
  EXPECT_TRUE(news.Composed().empty());
  // The connection left open is closed by the next post, which goes through.
  news.Newsgroups = {"local.test"};
  news.Subject = "Pagolin after refusal " + test::UniqueToken();
  ASSERT_TRUE(news.Send());
  ExpectStoredAsSent();
}

TEST_F(RealNewsServer, ClientTalksToTheServerWithTracesOfEachStep) {
  std::vector<std::string> commands;
  nntp.OnTrace = [&](const std::string& s, TTraceLevel level) {
    if (level == TTraceLevel::tlCommand) commands.push_back(s);
  };
  news.Subject = "Pagolin traces " + test::UniqueToken();
  news.Body = {"x"};
  ASSERT_TRUE(news.Send());
  EXPECT_EQ(commands, (std::vector<std::string>{"MODE READER", "POST", "QUIT"}));
}

// The article went out but its stamp could not be committed (another program kept reading the
// table past the busy wait): the next walk posts it again under the same Message-ID, the server
// refuses it as a duplicate, and that stamps it. The server holds the article once.
TEST(RealNewsServerRetry, APostingWhoseStampWasLostIsStampedOnRetryAndStoredOnce) {
  TNewsReader reader;
  ASSERT_TRUE(reader.Ready()) << test::kServerMissing;
  testing::TBuildSite site;
  TTable& postings = site.Data().tblNewsPost;
  const std::string subject = "Pagolin retry " + test::UniqueToken();
  postings.Insert();
  postings.FieldByName("Subject").SetAsString(subject);
  postings.FieldByName("Body").SetAsString("posted once");
  postings.FieldByName("Newsgroups").SetAsString("local.test");
  postings.FieldByName("Send").SetAsBoolean(true);
  postings.Post();
  postings.SetBusyTimeout(200);
  site.Settings().Server = "127.0.0.1";
  site.Settings().EMailAddress = "pagolin@example.test";
  T_NNTP nntp;
  nntp.SetTimeout(10000);
  T_News news;
  testing::TMessageRecorder recorder;

  TSqliteDb other;
  ASSERT_EQ(other.Open(site.Site() + "newspost.db", SQLITE_OPEN_READONLY), SQLITE_OK);
  ASSERT_EQ(other.Exec("BEGIN; SELECT count(*) FROM newspost;"), SQLITE_OK);
  const auto lost = SendDuePostings(postings, site.Settings(), news, nntp);
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_FALSE(lost[0].Sent);
  EXPECT_EQ(lost[0].Reason.rfind("Posted, but its date sent could not be stored", 0), 0u) << lost[0].Reason;
  ASSERT_EQ(other.Exec("COMMIT"), SQLITE_OK);

  const auto retried = SendDuePostings(postings, site.Settings(), news, nntp);
  ASSERT_EQ(retried.size(), 1u);
  EXPECT_TRUE(retried[0].Sent) << retried[0].Reason;
  EXPECT_TRUE(retried[0].AlreadyOnServer);
  postings.Refresh();
  ASSERT_TRUE(postings.Locate("Subject", subject));
  EXPECT_FALSE(postings.FieldByName("Date sent").IsNull());
  EXPECT_TRUE(SendDuePostings(postings, site.Settings(), news, nntp).empty());
  EXPECT_EQ(reader.CountBySubject("local.test", "Subject: " + subject), 1u);
  const auto stored = SplitArticle(reader.ArticleBySubject("local.test", "Subject: " + subject));
  EXPECT_EQ(stored.body, std::vector<std::string>{"posted once"});
}

}  // namespace
}  // namespace pagolin
