// Article composition. T_MailNews holds what a mail message and a news article share and
// composes the header lines and the body into one list of lines; T_News adds the newsgroups
// and hands the lines to a T_NNTP client.
//
// The composed article, in order: From, Message-ID, Date, Subject, Newsgroups (continuation
// lines "  group" for every further group, "," after all but the last), Organization, Sender,
// References, Reply-To (each only when not empty), the MIME lines when the body holds bytes
// above 127, the items of Header, one empty line, the items of Body.
//
// Header values have CR and LF replaced by blanks, and values with bytes above 127 are
// written as encoded words; an all-ASCII article is composed exactly as listed above.
#pragma once

#include <string>
#include <vector>

#include "core/net/nntp.h"

namespace pagolin {

class T_MailNews {
 public:
  T_MailNews() = default;
  virtual ~T_MailNews() = default;
  T_MailNews(const T_MailNews&) = delete;
  T_MailNews& operator=(const T_MailNews&) = delete;

  std::string Sender;               // no Sender line when empty
  std::string From;                 // required by T_News
  std::vector<std::string> Body;    // an item may hold several lines separated by CR LF
  std::vector<std::string> Header;  // further complete header lines
  std::string Subject;              // written also when empty
  std::string References;           // no References line when empty
  std::string ReplyTo;              // no Reply-To line when empty

  // Composes the header and body lines into the composed article, adding to what it holds
  // (the caller empties it). Returns true (T_News returns whether it posted).
  virtual bool Send();

  const std::vector<std::string>& Composed() const { return article_; }

  // "<N.U@H>": N the seconds of the local clock since 1970 as it reads, U a part that differs
  // between the articles of one program run and between runs, H the local host's name.
  static std::string NewMessageId();

 protected:
  std::vector<std::string> article_;
};

class T_News : public T_MailNews {
 public:
  static constexpr std::size_t kMaxNewsgroups = 10;

  T_NNTP* NNTP = nullptr;               // not owned
  std::vector<std::string> Newsgroups;  // one group per item (an item may name several)
  std::string Organization;             // no Organization line when empty

  // Posts nothing and returns false unless NNTP is set, Newsgroups has 1 to 10 items and
  // From is not empty. Otherwise composes the article and posts it on a fresh connection
  // (Login, SetArticle, PostArticle, Logout) and returns true. Throws what T_NNTP throws up to
  // the server's acceptance of the article; an error of the goodbye after it is dropped, since
  // the article is posted. The composed article is empty afterwards in every case.
  bool Send() override;
};

}  // namespace pagolin
