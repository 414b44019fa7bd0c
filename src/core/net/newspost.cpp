#include "core/net/newspost.h"

#include <cstring>
#include <exception>

#include "core/pages/codes.h"
#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/net/mailnews.h"
#include "core/platform/datetime.h"
#include "core/platform/hooks.h"
#include "core/platform/linelist.h"
#include "core/platform/ttable.h"

namespace pagolin {

namespace {

bool EndsWithLineBreak(const std::string& text) {
  return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

struct TDuePosting {
  std::string Subject, Body, Newsgroups;
};

bool IsDue(TTable& table) {
  return table.FieldByName("Send").AsBoolean() && table.FieldByName("Date sent").IsNull();
}

// Makes the first due posting with these texts the current record; false when it is gone
// (the order moves as postings are stamped, so it is found by its contents).
bool FindDue(TTable& table, const TDuePosting& posting) {
  for (table.First(); !table.Eof(); table.Next()) {
    if (IsDue(table) && table.FieldByName("Subject").AsString() == posting.Subject &&
        table.FieldByName("Body").AsString() == posting.Body &&
        table.FieldByName("Newsgroups").AsString() == posting.Newsgroups) {
      return true;
    }
  }
  return false;
}

void SendOne(TTable& table, const TDuePosting& posting, const TSettings& settings, T_News& news) {
  news.Body = {posting.Body};
  news.From = settings.EMailAddress;
  news.ReplyTo = settings.ReplyAddress;
  news.Newsgroups = {posting.Newsgroups};
  news.Subject = posting.Subject;
  if (!news.Send()) throw std::runtime_error("The article lacks a sender or a newsgroup");
  if (!FindDue(table, posting)) {
    throw std::runtime_error("Sent, but the posting was no longer in the table to be stamped");
  }
  table.Edit();
  try {
    table.FieldByName("Date sent").SetAsDateTime(Now());
    table.Post();
  } catch (...) {
    if (table.State() != TDataSetState::dsBrowse) table.Cancel();
    throw;
  }
}

}  // namespace

int CopyNewsToPostings(TDataModule2& dataModule, const TSettings& settings, const TNewsTexts& news) {
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
  int added = 0;
  for (int language = 1; language <= 2; ++language) {
    const int codesRecord = codes.Active() ? codes.RecNo() : 0;
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
      ++added;
    } catch (const std::exception& e) {
      try {
        if (postings.Active() && postings.State() != TDataSetState::dsBrowse) postings.Cancel();
      } catch (...) {
      }
      ShowError("Could not add to postings database", e.what());
    }
    try {
      if (codesRecord > 0 && codes.Active()) codes.SetRecNo(codesRecord);
    } catch (...) {
    }
  }
  return added;
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

std::vector<TPostingOutcome> SendDuePostings(TTable& tblNewsPost, const TSettings& settings,
                                             T_News& news, T_NNTP& nntp) {
  nntp.Hostname = settings.Server;
  news.NNTP = &nntp;

  std::vector<TDuePosting> due;
  for (tblNewsPost.First(); !tblNewsPost.Eof(); tblNewsPost.Next()) {
    if (IsDue(tblNewsPost)) {
      due.push_back({tblNewsPost.FieldByName("Subject").AsString(),
                     tblNewsPost.FieldByName("Body").AsString(),
                     tblNewsPost.FieldByName("Newsgroups").AsString()});
    }
  }

  std::vector<TPostingOutcome> outcomes;
  if (due.empty()) return outcomes;
  if (settings.EMailAddress.empty()) {
    ShowMessage(kMsgEnterEMail);
    for (const TDuePosting& posting : due) outcomes.push_back({posting.Subject, false, kMsgEnterEMail});
    return outcomes;
  }
  for (const TDuePosting& posting : due) {
    TPostingOutcome outcome{posting.Subject, false, {}};
    try {
      SendOne(tblNewsPost, posting, settings, news);
      outcome.Sent = true;
    } catch (const std::exception& e) {
      outcome.Reason = PostingFailureReason(e);
      ShowError(kMsgCouldNotSend, outcome.Reason);
    }
    outcomes.push_back(std::move(outcome));
    ProcessMessagesNow();
  }
  // A failure can leave a connection open; it is not needed any more.
  if (nntp.Socket() != kNoSocket) {
    try {
      nntp.Logout();
    } catch (const ETcpIpError&) {
    }
  }
  return outcomes;
}

}  // namespace pagolin
