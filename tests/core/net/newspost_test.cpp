// The posting workflow over a real site folder and a test news server on loopback.
#include "core/net/newspost.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/net/mailnews.h"
#include "core/platform/hooks.h"
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

// Takes every article; counts them.
struct CountingServer {
  int articles = 0;
  std::vector<std::string> refusals;  // replies to the POSTs, in order, "" to accept
  void operator()(TPeer& peer) {
    peer.Send("200 ready\r\n");
    std::string line;
    while (peer.ReadLine(line)) {
      if (line == "POST") {
        const std::size_t n = static_cast<std::size_t>(articles++);
        if (n < refusals.size() && !refusals[n].empty()) {
          peer.Send(refusals[n]);
          continue;
        }
        peer.Send("340 go\r\n");
        peer.ReadArticle();
        peer.Send("240 ok\r\n");
      } else if (line == "QUIT") {
        peer.Send("205 bye\r\n");
        return;
      } else {
        peer.Send("200 ok\r\n");
      }
    }
  }
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
    nntp_.SetPort(port);
    return SendDuePostings(dm_->tblNewsPost, settings_, news_, nntp_);
  }

  std::string site_;
  std::unique_ptr<TDataModule2> dm_;
  TSettings settings_;
  T_NNTP nntp_;
  T_News news_;
};

TEST_F(PostingWorkflow, SendsEachDuePostingOnceAndStampsIt) {
  AddPosting("due one", true);
  AddPosting("already sent", true, "sent");
  AddPosting("not ticked", false);
  AddPosting("due two", true);
  CountingServer script;
  TTestServer server([&](TPeer& p) { script(p); }, 2);
  MessageRecorder recorder;
  const auto outcomes = Send(server.Port());
  server.Received();
  EXPECT_EQ(script.articles, 2);
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
  CountingServer script;
  script.refusals = {"441 435 Duplicate\r\n"};
  TTestServer server([&](TPeer& p) { script(p); }, 2);
  MessageRecorder recorder;
  const auto outcomes = Send(server.Port());
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_FALSE(outcomes[0].Sent);
  EXPECT_EQ(outcomes[0].Reason, "The news server answered 441 435 Duplicate");
  EXPECT_TRUE(outcomes[1].Sent);
  EXPECT_EQ(recorder.messages, std::vector<std::string>{"Could not send news posting"});
  EXPECT_EQ(recorder.details_, std::vector<std::string>{"The news server answered 441 435 Duplicate"});
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
  EXPECT_EQ(recorder.messages, std::vector<std::string>{"Please enter your e-mail address in Pagolin settings."});
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

TEST_F(PostingWorkflow, EmptyServerSettingFailsEveryPostingAndKeepsThemDue) {
  AddPosting("a", true);
  AddPosting("b", true);
  settings_.Server = "";
  MessageRecorder recorder;
  const auto outcomes = Send(119);
  ASSERT_EQ(outcomes.size(), 2u);
  for (const auto& o : outcomes) {
    EXPECT_FALSE(o.Sent);
    EXPECT_EQ(o.Reason, "Couldn't resolve hostname ");
  }
  EXPECT_EQ(recorder.messages.size(), 2u);
  EXPECT_FALSE(Stamped().at("a"));
  EXPECT_FALSE(Stamped().at("b"));
}

TEST_F(PostingWorkflow, RefusedConnectionNamesTheSystemReason) {
  AddPosting("a", true);
  std::uint16_t closedPort;
  { TTestServer gone([](TPeer&) {}, 0); closedPort = gone.Port(); }
  MessageRecorder recorder;
  const auto outcomes = Send(closedPort);
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].Reason, "Error creating socket (Connection refused)");
}

TEST_F(PostingWorkflow, ASilentServerCostsOnePostingItsTimeLimitAndTheWalkGoesOn) {
  AddPosting("first", true);
  AddPosting("second", true);
  int connection = 0;
  TTestServer server(
      [&](TPeer& peer) {
        if (connection++ == 0) {
          peer.WaitForClose();  // accepts, never says a word
          return;
        }
        test::GoodNewsServer(peer);
      },
      2);
  nntp_.SetTimeout(300);
  MessageRecorder recorder;
  const auto outcomes = Send(server.Port());
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_FALSE(outcomes[0].Sent);
  EXPECT_EQ(outcomes[0].Reason, "No reply from the news server within 0.3 seconds");
  EXPECT_TRUE(outcomes[1].Sent);
  EXPECT_EQ(recorder.messages, std::vector<std::string>{"Could not send news posting"});
  EXPECT_EQ(nntp_.Socket(), kNoSocket);
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
