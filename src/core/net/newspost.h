// The posting workflow: "Copy to newsgroups" turns one news item into two postings, one per
// language; "Send News" posts every due posting, each on a fresh connection, and stamps it
// with the date sent. Messages go through the message hooks (platform/hooks.h).
//
// A posting is due when its "Send" is ticked and its "Date sent" is empty. The walk collects
// the due postings before it sends, so each is tried exactly once per command; a failure is
// shown and the walk goes on with the next posting.
#pragma once

#include <exception>
#include <string>
#include <vector>

namespace pagolin {

class TDataModule2;
class TSettings;
class TTable;
class T_News;
class T_NNTP;

// The texts of the news item being edited: both titles and both bodies as plain text.
struct TNewsTexts {
  std::string Title1, Title2;
  std::string Body1, Body2;
};

// Adds the posting of language 1, then that of language 2, to dataModule.tblNewsPost: the
// title as subject, the body with its variables replaced (plain mode) followed by the
// signature of the language (on a line of its own), the default newsgroups of the language.
// Refuses with a message, adding nothing, when a default newsgroup, a title or a body is
// empty. A failure to store one posting is shown and the other is still tried. Returns the
// number of postings added. The codes table is put back on its record.
int CopyNewsToPostings(TDataModule2& dataModule, const TSettings& settings, const TNewsTexts& news);

// What became of one due posting.
struct TPostingOutcome {
  std::string Subject;
  bool Sent = false;
  std::string Reason;  // why it was not sent; "" when sent
};

// The text shown as the reason of a failed posting: the error's message, with the system's
// words for a socket error and the status for a refusal by the server.
std::string PostingFailureReason(const std::exception& error);

inline constexpr const char* kMsgEnterEMail = "Please enter your e-mail address in Pagolin settings.";
inline constexpr const char* kMsgCouldNotSend = "Could not send news posting";

// Sends the due postings of tblNewsPost with news through nntp (its Hostname set to the news
// server setting): From and Reply-To from the identification settings. A posting sent is
// stamped with the current date and time; a failure (also of the stamp) shows
// kMsgCouldNotSend with the reason as details and leaves the posting due. With an empty
// e-mail address nothing is sent or stamped and kMsgEnterEMail is shown once (when anything
// is due). Returns one outcome per due posting, in the order of the table. Errors of reading
// the table propagate (EDatabaseError).
std::vector<TPostingOutcome> SendDuePostings(TTable& tblNewsPost, const TSettings& settings,
                                             T_News& news, T_NNTP& nntp);

}  // namespace pagolin
