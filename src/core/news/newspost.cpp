#include "core/news/newspost.h"

#include <cstring>
#include <exception>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/news/mailnews.h"
#include "core/news/newsserver.h"
#include "core/pages/codes.h"
#include "core/platform/credentials.h"
#include "core/platform/datetime.h"
#include "core/platform/hooks.h"
#include "core/platform/linelist.h"
#include "core/platform/recordkeeper.h"
#include "core/platform/ttable.h"

namespace pagolin {

namespace {

bool EndsWithLineBreak(const std::string& text) {
  return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

bool IsDue(TTable& table) {
  return table.FieldByName("Send").AsBoolean() && table.FieldByName("Date sent").IsNull();
}

struct TDuePosting {
  TRecordId Id = 0;
  std::string Subject;
};

// Undoes the transaction of one posting unless it was committed.
class TUndoUnlessCommitted {
 public:
  explicit TUndoUnlessCommitted(TTable& table) : table_(table) {}
  ~TUndoUnlessCommitted() {
    if (!table_.InTransaction()) return;
    try {
      table_.Rollback();
    } catch (const EDatabaseError&) {
      // Undone all the same; only reading the table again failed, and the next read retries.
    }
  }
  TUndoUnlessCommitted(const TUndoUnlessCommitted&) = delete;
  TUndoUnlessCommitted& operator=(const TUndoUnlessCommitted&) = delete;

 private:
  TTable& table_;
};

// True when the failure is one of reaching or talking to the server (TLS and the login
// included), not a refusal of this article: no later posting would get through either.
bool IsConnectionFailure(const ETcpIpError& error, const T_NNTP& nntp) {
  const auto* protocol = dynamic_cast<const EProtocolError*>(&error);
  return protocol == nullptr || !nntp.SessionReady() || protocol->ErrorCode == T_NNTP::kNoStatus;
}

// One attempt: the stamp made sure of, the article posted, the stamp committed.
TPostingOutcome SendOne(TTable& table, const TDuePosting& posting, const TSettings& settings, T_News& news,
                        T_NNTP& nntp, bool& connectionFailed) {
  TPostingOutcome outcome{posting.Subject, false, false, {}};
  TUndoUnlessCommitted undo(table);
  std::string subject, body, newsgroups;
  try {
    // Under the write lock the record is read again: another program may have sent it.
    table.StartTransaction();
    table.Refresh();
    if (!table.LocateRecord(posting.Id) || !IsDue(table)) {
      outcome.Reason = "Not sent: another program has sent, changed or deleted it meanwhile";
      return outcome;
    }
    subject = table.FieldByName("Subject").AsString();
    body = table.FieldByName("Body").AsString();
    newsgroups = table.FieldByName("Newsgroups").AsString();
    outcome.Reason = PostingAddresseeProblem(newsgroups);
    if (!outcome.Reason.empty()) return outcome;  // stays due, and no server is asked
    table.Edit();
    table.FieldByName("Date sent").SetAsDateTime(Now());
    table.Post();
  } catch (const EDatabaseError& e) {
    outcome.Reason = std::string("Not sent, since its date sent cannot be stored: ") + e.what();
    return outcome;
  }
  outcome.Subject = subject;
  news.Body = {body};
  news.From = settings.EMailAddress;
  news.FromName = settings.Name;
  news.Organization = settings.Organization;
  news.ReplyTo = settings.ReplyAddress;
  news.Newsgroups = {newsgroups};
  news.Subject = subject;
  news.MessageID = PostingMessageId(posting.Id, subject, newsgroups, body, settings.EMailAddress);
  news.OnPosted = [&table] { table.Commit(); };
  try {
    if (news.Send()) {
      outcome.Sent = true;
      outcome.AlreadyOnServer = news.AlreadyOnServer();
    } else {
      outcome.Reason = "The article lacks a sender or a newsgroup";
    }
  } catch (const EDatabaseError& e) {
    outcome.Reason = std::string("Posted, but its date sent could not be stored: ") + e.what() +
                     " The next Send News stamps it without posting it again.";
  } catch (const ETcpIpError& e) {
    outcome.Reason = PostingFailureReason(e);
    connectionFailed = IsConnectionFailure(e, nntp);
  }
  news.OnPosted = nullptr;
  news.MessageID.clear();
  return outcome;
}

}  // namespace

int CopyNewsToPostings(TDataModule2& dataModule, const TSettings& settings, const TNewsTexts& news,
                       std::vector<TRecordId>* added) {
  if (settings.DefNewsgroup1.empty() || settings.DefNewsgroup2.empty()) {
    ShowMessage("Please enter default Newsgroups in Pagolin settings.");
    return 0;
  }
  if (news.Title1.empty() || news.Title2.empty()) {
    ShowMessage("News must have a subject.");
    return 0;
  }
  if (news.Body1.empty() || news.Body2.empty()) {
    ShowMessage("News must have a body.");
    return 0;
  }
  TTable& postings = dataModule.tblNewsPost;
  TTable& codes = dataModule.tblCodes;
  int count = 0;
  for (int language = 1; language <= 2; ++language) {
    try {
      const std::string& body = language == 1 ? news.Body1 : news.Body2;
      std::string text = ReplaceVariables(codes, body, true);
      const std::string signature = LinesToText(language == 1 ? settings.Signature1 : settings.Signature2);
      // The signature starts a line of its own.
      if (!signature.empty() && !text.empty() && !EndsWithLineBreak(text)) text += "\r\n";
      text += signature;
      postings.Insert();
      postings.FieldByName("Subject").SetAsString(language == 1 ? news.Title1 : news.Title2);
      postings.FieldByName("Body").SetAsString(text);
      postings.FieldByName("Newsgroups")
          .SetAsString(language == 1 ? settings.DefNewsgroup1 : settings.DefNewsgroup2);
      postings.Post();
      ++count;
      if (added) added->push_back(postings.RecordId());
    } catch (const std::exception& e) {
      // Cancelling only drops the buffer of the failed attempt; it cannot fail itself.
      if (postings.Active() && postings.State() != TDataSetState::dsBrowse) postings.Cancel();
      ShowError("Could not add to postings database", e.what());
    }
  }
  return count;
}

std::string PostingsAddedText(int count) {
  return std::to_string(count) + (count == 1 ? " posting" : " postings") + " added for sending";
}

std::string PostingAddresseeProblem(const std::string& newsgroups) {
  if (newsgroups.find_first_not_of(" \t,") == std::string::npos) return "The posting has no newsgroups.";
  return {};
}

std::string PostingFailureReason(const std::exception& error) {
  if (const auto* socket = dynamic_cast<const ESocketError*>(&error)) {
    return std::string(socket->what()) + " (" + std::strerror(socket->ErrorCode) + ")";
  }
  if (const auto* protocol = dynamic_cast<const EProtocolError*>(&error)) {
    if (protocol->ErrorCode == T_NNTP::kNoStatus) return protocol->what();
    return "The news server answered " + std::to_string(protocol->ErrorCode) + " " + protocol->what();
  }
  return error.what();
}

std::string PostingMessageId(TRecordId record, const std::string& subject, const std::string& newsgroups,
                             const std::string& body, const std::string& from) {
  return T_MailNews::DerivedMessageId({std::to_string(record), subject, newsgroups, body}, from);
}

std::string PostingReportLine(const TPostingOutcome& outcome) {
  std::string line = outcome.Subject + ": ";
  if (!outcome.Sent) {
    line += outcome.Reason;
  } else {
    line += outcome.AlreadyOnServer ? "sent (the news server had it already)" : "sent";
  }
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';
  }
  return line;
}

std::vector<TPostingOutcome> SendDuePostings(TTable& tblNewsPost, const TSettings& settings, T_News& news,
                                             T_NNTP& nntp, const TPostingProgress& progress,
                                             TCredentialStore* credentials) {
  nntp.Hostname = settings.Server;
  news.NNTP = &nntp;
  TRecordKeeper keeper(tblNewsPost);  // the posting the user was on is current again afterwards

  std::vector<TDuePosting> due;
  for (tblNewsPost.First(); !tblNewsPost.Eof(); tblNewsPost.Next()) {
    if (IsDue(tblNewsPost))
      due.push_back({tblNewsPost.RecordId(), tblNewsPost.FieldByName("Subject").AsString()});
  }

  std::vector<TPostingOutcome> outcomes;
  if (due.empty()) return outcomes;
  // A reason that holds for every posting: nothing is tried.
  std::string common;
  if (settings.EMailAddress.empty()) {
    common = kMsgEnterEMail;
    ShowMessage(kMsgEnterEMail);
  } else if (settings.Server.empty()) {
    common = kMsgNoServer;
    ShowError(kMsgCouldNotSend, kMsgNoServer);
  } else {
    try {
      ConfigureNewsClient(nntp, settings);
      nntp.Password = NewsPassword(settings, credentials);
    } catch (const ETcpIpError& e) {
      common = e.what();
    } catch (const ECredentialError& e) {
      common = e.what();
    }
    if (!common.empty()) ShowError(kMsgCouldNotSend, common);
  }
  for (std::size_t i = 0; i < due.size(); ++i) {
    if (common.empty() && progress && !progress(i + 1, due.size(), due[i].Subject)) {
      common = kMsgStopped;
    }
    if (!common.empty()) {
      outcomes.push_back({due[i].Subject, false, false, common});
      continue;
    }
    bool connectionFailed = false;
    TPostingOutcome outcome = SendOne(tblNewsPost, due[i], settings, news, nntp, connectionFailed);
    if (!outcome.Sent) {
      std::string details = outcome.Reason;
      if (connectionFailed && i + 1 < due.size()) {
        // The server is not tried again in this walk.
        common = outcome.Reason;
        details += "\nThe other due postings were not tried; they stay due.";
      }
      ShowError(kMsgCouldNotSend, details);
    }
    outcomes.push_back(std::move(outcome));
  }
  // A failure can leave a connection open; it is not needed any more.
  if (nntp.Socket() != kNoSocket) {
    try {
      nntp.Logout();
    } catch (const ETcpIpError&) {
    }
  }
  nntp.Password.clear();
  return outcomes;
}

}  // namespace pagolin
