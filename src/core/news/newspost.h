// The posting workflow: "Copy to newsgroups" turns one news item into two postings, one per
// language; "Send News" posts every due posting, each on a fresh connection, and stamps it
// with the date sent. Messages go through the message hooks (platform/hooks.h).
//
// A posting is due when its "Send" is ticked and its "Date sent" is empty. The walk collects
// the due postings before it sends, so each is tried at most once per command.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "core/platform/ttable.h"

namespace pagolin {

class TCredentialStore;
class TDataModule2;
class TSettings;
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
// number of postings added, and their records in added when asked. The codes table is put back
// on its record.
int CopyNewsToPostings(TDataModule2& dataModule, const TSettings& settings, const TNewsTexts& news,
                       std::vector<TRecordId>* added = nullptr);

// What the status bar says after the copy: "2 postings added for sending".
std::string PostingsAddedText(int count);

// What became of one due posting.
struct TPostingOutcome {
  std::string Subject;
  bool Sent = false;             // on the server and stamped
  bool AlreadyOnServer = false;  // sent by an earlier attempt whose stamp was lost
  std::string Reason;            // why it was not sent; "" when sent
};

// The text shown as the reason of a failed posting: the error's message, with the system's
// words for a socket error and the status for a refusal by the server.
std::string PostingFailureReason(const std::exception& error);

// The Message-ID of the posting with this record and these texts, sent from this address: the
// same on every attempt, another for any other posting (another record or other texts).
std::string PostingMessageId(TRecordId record, const std::string& subject, const std::string& newsgroups,
                             const std::string& body, const std::string& from);

// The report line of a posting: its subject, then "sent" or the reason. Control characters
// (CR, LF, NUL, tab, ...) show as blanks, so that it is always exactly one line.
std::string PostingReportLine(const TPostingOutcome& outcome);

// Why a posting has nowhere to go: "The posting has no newsgroups." when its Newsgroups text
// names no group (empty, or only blanks and commas); "" when it can be sent.
std::string PostingAddresseeProblem(const std::string& newsgroups);

inline constexpr const char* kMsgEnterEMail = "Please enter your e-mail address in Pagolin settings.";
inline constexpr const char* kMsgNoServer = "No news server is set in the settings";
inline constexpr const char* kMsgCouldNotSend = "Could not send news posting";
inline constexpr const char* kMsgStopped = "Not sent: Send News was stopped";

// Told before each posting is tried: its number (from 1), the number of due postings and its
// subject. Returns false to stop the walk there: that posting and the rest stay due.
using TPostingProgress =
    std::function<bool(std::size_t number, std::size_t count, const std::string& subject)>;

// Sends the due postings of tblNewsPost with news through nntp, set up for the news server of
// the settings (ConfigureNewsClient: port, security, login), the password of its login from
// credentials: From (the name and the address), Organization and Reply-To from the
// identification settings.
//
// A posting is never posted twice: before its article goes out the table's write lock is
// taken and the stamp written into a transaction (when that fails, nothing is sent and the
// reason says why); the stamp is committed as soon as the server has the article, before the
// goodbye; and the article carries PostingMessageId, so that a retry after a stamp that was
// lost all the same is refused by the server as a duplicate, which counts as sent.
//
// Each posting is found again by its record, so edits of other records do not matter. A
// failure shows kMsgCouldNotSend with the reason as details and leaves the posting due. A
// refused article lets the next one go, and so does a posting with nowhere to go
// (PostingAddresseeProblem), which is refused before any connection; a failure to reach or
// talk to the server ends the attempts: the postings after it are not tried and keep the same
// reason; so does a failure of TLS or of the login. With an empty e-mail address or news
// server, a security setting that is none of the choices, or a login whose password cannot be
// found, nothing is sent (kMsgEnterEMail as a message, or kMsgCouldNotSend with the reason in
// one error box) when anything is due. Returns one outcome per due posting, in the order of the table. Errors of
// reading the table propagate (EDatabaseError). The password is not kept in nntp afterwards.
std::vector<TPostingOutcome> SendDuePostings(TTable& tblNewsPost, const TSettings& settings, T_News& news,
                                             T_NNTP& nntp, const TPostingProgress& progress = {},
                                             TCredentialStore* credentials = nullptr);

}  // namespace pagolin
