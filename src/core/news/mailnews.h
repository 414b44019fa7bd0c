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
// written as encoded words; an all-ASCII article is composed exactly as listed above. Texts
// are UTF-8; a body the code page holds goes out in it (charset=windows-1252), any other in
// UTF-8.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/news/nntp.h"

namespace pagolin {

class T_MailNews {
 public:
  T_MailNews() = default;
  virtual ~T_MailNews() = default;
  T_MailNews(const T_MailNews&) = delete;
  T_MailNews& operator=(const T_MailNews&) = delete;

  std::string Sender;               // no Sender line when empty
  std::string From;                 // the sender's address; required by T_News
  std::string FromName;             // the sender's name, before the address in From; none when empty
  std::vector<std::string> Body;    // an item may hold several lines separated by CR LF
  std::vector<std::string> Header;  // further complete header lines
  std::string Subject;              // written also when empty
  std::string References;           // no References line when empty
  std::string ReplyTo;              // no Reply-To line when empty
  // "<...>" as the Message-ID of the article; when empty each article gets a new one
  // (NewMessageId). A caller that may post the same article again gives it the same one, so
  // that the server can tell the repetition.
  std::string MessageID;

  // Composes the header and body lines into the composed article, adding to what it holds
  // (the caller empties it). Returns true (T_News returns whether it posted).
  virtual bool Send();

  const std::vector<std::string>& Composed() const { return article_; }

  // "<N.U@H>": N the seconds of the local clock since 1970 as it reads, U a part that differs
  // between the articles of one program run and between runs, H the local host's name.
  static std::string NewMessageId();
  // "<A.B@S>" for an article that must keep its Message-ID over retries: A and B are two
  // 64-bit hashes of the parts (the same parts give the same ID, any other parts practically
  // always another), S is the domain of the sender's address from (the local host's name when
  // it has none), so that neither the clock nor the network of the moment changes it.
  static std::string DerivedMessageId(const std::vector<std::string>& parts, const std::string& from);

 protected:
  std::vector<std::string> article_;

 private:
  // "From: " + From, or with FromName: "From: Name <address>" (MailboxHeaderValue).
  std::string FromLine() const;
};

class T_News : public T_MailNews {
 public:
  static constexpr std::size_t kMaxNewsgroups = 10;

  T_NNTP* NNTP = nullptr;               // not owned
  std::vector<std::string> Newsgroups;  // one group per item (an item may name several)
  std::string Organization;             // no Organization line when empty
  // Runs as soon as the server has the article, before the goodbye (which may never be
  // answered). An error it raises goes on to the caller of Send; the connection is then left
  // open, and the next Login or Logout of NNTP closes it.
  std::function<void()> OnPosted;

  // Posts nothing and returns false unless NNTP is set, Newsgroups has 1 to 10 items and
  // From is not empty. Otherwise composes the article and posts it on a fresh connection
  // (Login, SetArticle, PostArticle, OnPosted, Logout) and returns true. A refusal as a
  // duplicate (T_NNTP::IsDuplicateRefusal) means the server has the article already: it
  // counts as posted, and AlreadyOnServer() tells. Throws what T_NNTP throws up to the
  // server's acceptance of the article; an error of the goodbye after it is dropped, since
  // the article is posted. The composed article is empty afterwards in every case.
  bool Send() override;
  // True when the last Send found the article on the server already.
  bool AlreadyOnServer() const { return alreadyOnServer_; }

 private:
  bool alreadyOnServer_ = false;
};

}  // namespace pagolin
