// The posting workflow over a real site folder and a test news server on loopback.
#include "core/news/newspost.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/news/mailnews.h"
#include "core/platform/credentials.h"
#include "core/platform/hooks.h"
#include "core/platform/sqlitedb.h"
#include "support/nntp_peer.h"

namespace pagolin {
namespace {

namespace fs = std::filesystem;
using test::TPeer;
using test::TTestServer;

// Records every message the workflow shows.
class MessageRecorder {
 public:
  MessageRecorder() {
    TMessageHooks hooks;
    hooks.showMessage = [this](const std::string& text) { messages.push_back(text); };
    hooks.showError = [this](const std::string& text, const std::string& details) {
      messages.push_back(text);
      details_.push_back(details);
    };
    previous_ = SetMessageHooks(std::move(hooks));
  }
  ~MessageRecorder() { SetMessageHooks(std::move(previous_)); }
  std::vector<std::string> messages;
  std::vector<std::string> details_;

 private:
  TMessageHooks previous_;
};

class PostingWorkflow : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/pagolin-newspost-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    site_ = std::string(folder) + "/";
    fs::remove(site_);
    const std::string command = std::string(PAGOLIN_NEWSITE) + " " + site_ + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    dm_ = std::make_unique<TDataModule2>(site_);
    dm_->DataModule2Create();
    settings_.Server = "127.0.0.1";
    settings_.EMailAddress = "news@example.test";
    settings_.DefNewsgroup1 = "local.test";
    settings_.DefNewsgroup2 = "local.test,local.de";
    nntp_.SetTimeout(2000);
  }
  void TearDown() override {
    dm_.reset();
    fs::remove_all(site_);
  }
  void AddPosting(const std::string& subject, bool send, const std::string& dateSent = "") {
    TTable& t = dm_->tblNewsPost;
    t.Insert();
    t.FieldByName("Subject").SetAsString(subject);
    t.FieldByName("Body").SetAsString("Body of " + subject);
    t.FieldByName("Newsgroups").SetAsString("local.test");
    t.FieldByName("Send").SetAsBoolean(send);
    if (!dateSent.empty()) t.FieldByName("Date sent").SetAsDateTime(EncodeDateTime({2024, 2, 1, 12}));
    t.Post();
  }
  // Subject -> whether "Date sent" is filled.
  std::map<std::string, bool> Stamped() {
    std::map<std::string, bool> result;
    TTable& t = dm_->tblNewsPost;
    for (t.First(); !t.Eof(); t.Next()) {
      result[t.FieldByName("Subject").AsString()] = !t.FieldByName("Date sent").IsNull();
    }
    return result;
  }
  std::vector<TPostingOutcome> Send(std::uint16_t port) {
    settings_.Port = port;
    return SendDuePostings(dm_->tblNewsPost, settings_, news_, nntp_, {}, &passwords_);
  }

  std::string site_;
  std::unique_ptr<TDataModule2> dm_;
  TSettings settings_;
  TMemoryCredentials passwords_;
  T_NNTP nntp_;
  T_News news_;
};

TEST_F(PostingWorkflow, SendsEachDuePostingOnceAndStampsIt) {
  AddPosting("due one", true);
  AddPosting("already sent", true, "sent");
  AddPosting("not ticked", false);
  AddPosting("due two", true);
  test::TPostingServer script;
  TTestServer server([&](TPeer& p) { script(p); }, 2);
  MessageRecorder recorder;
  const auto outcomes = Send(server.Port());
  server.Received();
  EXPECT_EQ(script.posts, 2);
  EXPECT_EQ(server.Served(), 2);  // a connection of its own per posting
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_TRUE(outcomes[0].Sent);
  EXPECT_TRUE(outcomes[1].Sent);
  EXPECT_TRUE(recorder.messages.empty());
  const auto stamped = Stamped();
  EXPECT_TRUE(stamped.at("due one"));
  EXPECT_TRUE(stamped.at("due two"));
  EXPECT_TRUE(stamped.at("already sent"));
  EXPECT_FALSE(stamped.at("not ticked"));
}

TEST_F(PostingWorkflow, AFailureIsShownWithItsReasonAndTheWalkGoesOn) {
  AddPosting("first", true);
  AddPosting("second", true);
  test::TPostingServer script;
  script.refusals = {"441 posting failed\r\n"};
  TTestServer server([&](TPeer& p) { script(p); }, 2);
  MessageRecorder recorder;
  const auto outcomes = Send(server.Port());
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_FALSE(outcomes[0].Sent);
  EXPECT_EQ(outcomes[0].Reason, "The news server answered 441 posting failed");
  EXPECT_TRUE(outcomes[1].Sent);
  EXPECT_EQ(recorder.messages, std::vector<std::string>{"Could not send news posting"});
  EXPECT_EQ(recorder.details_, std::vector<std::string>{"The news server answered 441 posting failed"});
  const auto stamped = Stamped();
  EXPECT_FALSE(stamped.at(outcomes[0].Subject));  // stays due for the next command
  EXPECT_TRUE(stamped.at(outcomes[1].Subject));
}

TEST_F(PostingWorkflow, EmptyEMailSendsNothingStampsNothingAndSaysWhy) {
  AddPosting("waiting", true);
  settings_.EMailAddress = "";
  MessageRecorder recorder;
  std::vector<std::string> trace;
  nntp_.OnTrace = [&](const std::string& s, TTraceLevel) { trace.push_back(s); };
  const auto outcomes = Send(1);
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_FALSE(outcomes[0].Sent);
  EXPECT_EQ(recorder.messages,
            std::vector<std::string>{"Please enter your e-mail address in Pagolin settings."});
  EXPECT_TRUE(trace.empty());
  EXPECT_FALSE(Stamped().at("waiting"));
}

TEST_F(PostingWorkflow, NothingDueOpensNoConnectionAndSaysNothing) {
  AddPosting("old", true, "sent");
  MessageRecorder recorder;
  std::vector<std::string> trace;
  nntp_.OnTrace = [&](const std::string& s, TTraceLevel) { trace.push_back(s); };
  EXPECT_TRUE(Send(1).empty());
  EXPECT_TRUE(trace.empty());
  EXPECT_TRUE(recorder.messages.empty());
}

// Settings that cannot make a connection fail every posting, with one message and without
// trying the server; the postings stay due.
TEST_F(PostingWorkflow, SettingsThatCannotConnectFailEveryPostingAndKeepThemDue) {
  struct Case {
    const char* server;
    const char* security;
    const char* user;
    std::string reason;
  };
  const Case cases[] = {
      {"", "None", "", "No news server is set in the settings"},
      {"127.0.0.1", "", "",
       "The security of the news server connection is not set: choose None, STARTTLS or TLS in the settings"},
      {"127.0.0.1", "TLS", "nobody", "No password for user nobody on 127.0.0.1 in this run"},
  };
  AddPosting("a", true);
  AddPosting("b", true);
  for (const Case& c : cases) {
    settings_.Server = c.server;
    settings_.Security = c.security;
    settings_.User = c.user;
    std::vector<std::string> trace;
    nntp_.OnTrace = [&](const std::string& s, TTraceLevel) { trace.push_back(s); };
    MessageRecorder recorder;
    const auto outcomes = Send(119);
    ASSERT_EQ(outcomes.size(), 2u);
    for (const auto& o : outcomes) {
      EXPECT_FALSE(o.Sent);
      EXPECT_EQ(o.Reason, c.reason);
    }
    EXPECT_EQ(recorder.details_, std::vector<std::string>{c.reason});
    EXPECT_TRUE(trace.empty());
    EXPECT_FALSE(Stamped().at("a"));
    EXPECT_FALSE(Stamped().at("b"));
  }
}

// A server that greets, takes reader mode, and answers the next command with reply.
std::function<void(TPeer&)> AnswersAfterReaderMode(std::string reply) {
  return [reply](TPeer& p) mutable {
    std::string line;
    p.Send("200 hi\r\n");
    while (p.ReadLine(line)) {
      p.Send(line == "MODE READER" ? "200 reader\r\n" : line == "QUIT" ? "205 bye\r\n" : reply);
      if (line == "AUTHINFO USER jo" && reply.rfind("381", 0) == 0) reply = "481 Authentication failed\r\n";
    }
  };
}

// After a failure to reach or talk to the server (TLS and the login included) the walk does
// not try it again: one time limit for the walk, not one per posting, and no goodbye to a
// server that never greeted.
TEST_F(PostingWorkflow, AServerThatCannotBeReachedIsTriedOncePerWalk) {
  struct Case {
    const char* name;
    std::function<void(TPeer&)> script;  // none: nobody listens
    std::string reason, received;
    const char* security = "None";
    const char* user = "";
  };
  const std::string timeLimit = "No reply from the news server within 0.3 seconds";
  const std::vector<Case> cases{
      {"accepts, never greets", [](TPeer& p) { p.WaitForClose(); }, timeLimit, ""},
      {"greets, then silence",
       [](TPeer& p) {
         p.Send("200 hi\r\n");
         p.WaitForClose();
       },
       timeLimit, "MODE READER\r\n"},
      {"garbage greeting",
       [](TPeer& p) {
         p.Send("HELLO garbage\r\n");
         p.WaitForClose();
       },
       "The news server answered without a status: HELLO garbage", ""},
      {"refuses service",
       [](TPeer& p) {
         p.Send("400 no service\r\n");
         p.WaitForClose();
       },
       "The news server answered 400 no service", ""},
      {"refuses the connection", nullptr, "Error creating socket (Connection refused)", ""},
      {"no STARTTLS", AnswersAfterReaderMode("502 no\r\n"), "The server does not offer STARTTLS",
       "MODE READER\r\nSTARTTLS\r\nQUIT\r\n", "STARTTLS"},
      {"drops in the TLS handshake",
       [](TPeer& p) {
         char hello[64];
         ::recv(p.Fd(), hello, sizeof hello, 0);
       },
       "The server closed the connection during the TLS handshake", "", "TLS"},
      {"login refused", AnswersAfterReaderMode("381 more\r\n"),
       "Login refused by the news server (481 Authentication failed)",
       "MODE READER\r\nAUTHINFO USER jo\r\nAUTHINFO PASS pw\r\nQUIT\r\n", "None", "jo"}};
  passwords_.WritePassword({"news", "127.0.0.1", "jo"}, "pw");
  AddPosting("first", true);
  AddPosting("second", true);
  nntp_.SetTimeout(300);
  for (const Case& c : cases) {
    auto server = std::make_unique<TTestServer>(
        c.script ? c.script : [](TPeer&) {}, 1);
    const std::uint16_t port = server->Port();
    if (!c.script) server.reset();
    int attempts = 0;
    nntp_.OnTrace = [&](const std::string& s, TTraceLevel) {
      attempts += s.rfind("Opened output socket", 0) == 0 || s.rfind("Failed to open", 0) == 0;
    };
    settings_.Security = c.security;
    settings_.User = c.user;
    MessageRecorder recorder;
    const auto outcomes = Send(port);
    ASSERT_EQ(outcomes.size(), 2u) << c.name;
    EXPECT_EQ(attempts, 1) << c.name;
    EXPECT_EQ(outcomes[0].Reason, c.reason) << c.name;
    EXPECT_EQ(outcomes[1].Reason, c.reason) << c.name;
    EXPECT_EQ(recorder.messages.size(), 1u) << c.name;
    if (server) {
      EXPECT_EQ(server->Received(), c.received) << c.name;
    }
    EXPECT_FALSE(Stamped().at("first") || Stamped().at("second")) << c.name;
  }
}

// The stamp is made sure of before anything is sent: with the table held by another program
// nothing goes out, the reason says why, and the posting stays due.
TEST_F(PostingWorkflow, APostingsTableThatCannotBeWrittenSendsNothing) {
  for (const char* lock : {"BEGIN IMMEDIATE", "BEGIN EXCLUSIVE"}) {
    AddPosting(lock, true);
    dm_->tblNewsPost.SetBusyTimeout(100);
    TSqliteDb other;
    ASSERT_EQ(other.Open(site_ + "newspost.db", SQLITE_OPEN_READWRITE), SQLITE_OK);
    ASSERT_EQ(other.Exec(lock), SQLITE_OK);
    TTestServer server(test::GoodNewsServer);
    MessageRecorder recorder;
    std::string reason;
    try {
      const auto outcomes = Send(server.Port());
      ASSERT_EQ(outcomes.size(), 1u);
      EXPECT_FALSE(outcomes[0].Sent);
      reason = outcomes[0].Reason;
    } catch (const EDatabaseError& e) {  // the table cannot even be read
      reason = e.what();
    }
    EXPECT_NE(reason.find("locked by another program"), std::string::npos) << lock << ": " << reason;
    ASSERT_EQ(other.Exec("ROLLBACK"), SQLITE_OK);
    EXPECT_EQ(server.Served(), 0) << lock;
    EXPECT_FALSE(Stamped().at(lock));
  }
}

// A server that never answers QUIT finds the posting stamped when QUIT arrives.
TEST_F(PostingWorkflow, ThePostingIsStampedBeforeTheGoodbye) {
  AddPosting("quit unanswered", true);
  std::string stampAtQuit = "<QUIT never came>";
  TTestServer server([&](TPeer& peer) {
    test::NewsServerDialogue(peer, [&](TPeer& p) {
      TSqliteDb db;
      db.Open(site_ + "newspost.db", SQLITE_OPEN_READONLY);
      TSqliteStmt stmt;
      stmt.Prepare(db.Handle(), "SELECT \"Date sent\" FROM newspost");
      stampAtQuit = stmt.Step() == SQLITE_ROW ? stmt.ColumnText(0).value_or("") : "<no row>";
      p.WaitForClose();  // and never a word
    });
  });
  nntp_.SetTimeout(300);
  MessageRecorder recorder;
  const auto outcomes = Send(server.Port());
  server.Received();
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_TRUE(outcomes[0].Sent);
  EXPECT_EQ(stampAtQuit.size(), 19u) << stampAtQuit;  // "YYYY-MM-DD HH:MM:SS"
  EXPECT_TRUE(recorder.messages.empty());
}

TEST(PostingMessageId, TheSameForThePostingAndAnotherForAnyOther) {
  const std::string id = PostingMessageId(7, "Subject", "local.test", "Body", "Ann <ann@example.com>");
  EXPECT_TRUE(std::regex_match(id, std::regex("<[0-9a-z]+\\.[0-9a-z]+@example\\.com>"))) << id;
  EXPECT_EQ(PostingMessageId(7, "Subject", "local.test", "Body", "ann@example.com"), id);
  const std::vector<std::string> others{
      PostingMessageId(8, "Subject", "local.test", "Body", "ann@example.com"),
      PostingMessageId(7, "Subjects", "local.test", "Body", "ann@example.com"),
      PostingMessageId(7, "Subject", "local.other", "Body", "ann@example.com"),
      PostingMessageId(7, "Subject", "local.test", "Body\r\n", "ann@example.com"),
      PostingMessageId(7, "Subjectlocal.test", "", "Body", "ann@example.com"),
      PostingMessageId(7, "Subject", "local.test", "Body", "ann@example.org")};
  for (std::size_t i = 0; i < others.size(); ++i) {
    EXPECT_NE(others[i], id) << i;
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(others[i], others[j]) << i << " " << j;
  }
  // Without a usable domain in the address the host's name stands in.
  const std::string local = PostingMessageId(7, "Subject", "local.test", "Body", "ann@bad..domain");
  EXPECT_EQ(local.substr(local.find('@')), "@" + LocalHostName() + ">");
}

TEST(PostingReport, IsOneLineWhateverTheSubjectOrReasonHolds) {
  const std::vector<std::pair<TPostingOutcome, std::string>> cases{
      {{std::string("News\r\nline\0two", 14), true, false, ""}, "News  line two: sent"},
      {{"x", false, false, "bad\treason\n"}, "x: bad reason "},
      {{"y", true, true, ""}, "y: sent (the news server had it already)"}};
  for (const auto& [outcome, line] : cases) EXPECT_EQ(PostingReportLine(outcome), line);
}

TEST_F(PostingWorkflow, ReplyToFollowsTheSettingOfEachCommand) {
  AddPosting("with", true);
  settings_.ReplyAddress = "reply@example.test";
  {
    TTestServer server(test::GoodNewsServer);
    Send(server.Port());
    EXPECT_NE(server.Received().find("\r\nReply-To: reply@example.test\r\n"), std::string::npos);
  }
  AddPosting("without", true);
  settings_.ReplyAddress = "";
  TTestServer server(test::GoodNewsServer);
  Send(server.Port());
  const std::string received = server.Received();
  EXPECT_NE(received.find("Subject: without"), std::string::npos);
  EXPECT_EQ(received.find("Reply-To"), std::string::npos);
}

TEST_F(PostingWorkflow, CopyAddsLanguageOneThenTwoWithSignatureOnItsOwnLine) {
  settings_.Signature1 = {"-- ", "Example Software"};
  settings_.Signature2 = {"-- ", "Beispiel"};
  MessageRecorder recorder;
  EXPECT_EQ(CopyNewsToPostings(*dm_, settings_, {"Title one", "Titel zwei", "Body one", "Text zwei\r\n"}), 2);
  EXPECT_TRUE(recorder.messages.empty());
  TTable& t = dm_->tblNewsPost;
  ASSERT_EQ(t.RecordCount(), 2);
  t.First();
  EXPECT_EQ(t.FieldByName("Subject").AsString(), "Title one");
  EXPECT_EQ(t.FieldByName("Body").AsString(), "Body one\r\n-- \r\nExample Software");
  EXPECT_EQ(t.FieldByName("Newsgroups").AsString(), "local.test");
  EXPECT_FALSE(t.FieldByName("Send").AsBoolean());
  EXPECT_TRUE(t.FieldByName("Date sent").IsNull());
  t.Next();
  EXPECT_EQ(t.FieldByName("Subject").AsString(), "Titel zwei");
  EXPECT_EQ(t.FieldByName("Body").AsString(), "Text zwei\r\n-- \r\nBeispiel");
  EXPECT_EQ(t.FieldByName("Newsgroups").AsString(), "local.test,local.de");
}

TEST_F(PostingWorkflow, CopyReplacesVariablesInPlainMode) {
  TTable& codes = dm_->tblCodes;
  codes.Insert();
  codes.FieldByName("Name").SetAsString("TESTPRODUCT");
  codes.FieldByName("Type").SetAsString("Variable");
  codes.FieldByName("Code").SetAsString("<b>Widget</b>");
  codes.FieldByName("Description 1").SetAsString("Widget Pro");
  codes.Post();
  MessageRecorder recorder;
  ASSERT_EQ(CopyNewsToPostings(*dm_, settings_, {"t1", "t2", "Get %TESTPRODUCT% now", "b2"}), 2);
  TTable& t = dm_->tblNewsPost;
  t.First();
  EXPECT_EQ(t.FieldByName("Body").AsString().rfind("Get Widget Pro now", 0), 0u);
}

TEST_F(PostingWorkflow, CopyRefusesIncompleteNewsAndAddsNothing) {
  MessageRecorder recorder;
  TSettings noGroup = settings_;
  noGroup.DefNewsgroup2 = "";
  EXPECT_EQ(CopyNewsToPostings(*dm_, noGroup, {"t1", "t2", "b1", "b2"}), 0);
  EXPECT_EQ(CopyNewsToPostings(*dm_, settings_, {"t1", "", "b1", "b2"}), 0);
  EXPECT_EQ(CopyNewsToPostings(*dm_, settings_, {"t1", "t2", "", "b2"}), 0);
  EXPECT_EQ(recorder.messages,
            (std::vector<std::string>{"Please enter default Newsgroups in Pagolin settings.",
                                      "News must have a subject.", "News must have a body."}));
  EXPECT_EQ(dm_->tblNewsPost.RecordCount(), 0);
}

}  // namespace
}  // namespace pagolin
