// T_NNTP: the news client. Over the connection of T_TcpIp it reads the server's greeting,
// asks for reader mode, posts one article and says goodbye, with the commands "MODE READER",
// "POST" and "QUIT". Calling order per article: Login, SetArticle, PostArticle, Logout, each
// article on a fresh connection.
//
// Security: TLS from the first byte (a TLS port, usually 563), or "STARTTLS" after reader mode
// (RFC 4642), or none. With a User, Login logs in with "AUTHINFO USER" and "AUTHINFO PASS"
// (RFC 4643) once TLS is up. The password never appears in a trace or a message.
#pragma once

#include <string>
#include <vector>

#include "core/net/tcpip.h"
#include "core/net/tlssession.h"

namespace pagolin {

enum class TNewsSecurity { nsNone, nsStartTls, nsTls };

// The server refused the login, or wants one: the message says so and quotes its answer.
class ELoginError : public ETcpIpError {
 public:
  ELoginError(const std::string& message, int errorCode) : ETcpIpError(message), ErrorCode(errorCode) {}
  int ErrorCode;
};

class T_NNTP : public T_TcpIp {
 public:
  static constexpr std::uint16_t kDefaultPort = 119;
  // StatusCode of a reply that does not begin with a number, or that never came.
  static constexpr int kNoStatus = 999;

  T_NNTP();
  ~T_NNTP() override;  // says QUIT when still connected, errors dropped

  static constexpr std::uint16_t kDefaultTlsPort = 563;

  // Status of the last reply (999 when it does not begin with a number) and its text from the
  // fifth character on.
  int StatusCode = 0;
  std::string StatusText;

  TNewsSecurity Security = TNewsSecurity::nsNone;
  // Logs in when not empty (sent in UTF-8). Neither may hold a line break.
  std::string User;
  std::string Password;  // bytes as the server takes them

  // Connects (TLS at once with nsTls) and reads the greeting (EProtocolError for 400 or more),
  // then asks for reader mode; a refusal of that is dropped, but a connection that ended or
  // ran out of time there raises (EProtocolError, status 999). With nsStartTls, STARTTLS and
  // the handshake follow; with a User, the login. Also ETcpIpError / ESocketError of the base,
  // ETlsError ("The server does not offer STARTTLS", a certificate that is not trusted, ...),
  // ELoginError ("Login refused by the news server (481 ...)").
  void Login() override;
  // When logged in, QUIT and its reply; the socket is closed in any case, and an error of
  // the reply goes on to the caller after that. A connection already known to be gone is
  // closed without QUIT (EProtocolError, status 999); one whose server never greeted
  // properly is closed without QUIT and without an error.
  void Logout() override;
  // True from a greeting below 400 until the connection is closed: a failure while this is
  // false is one of reaching the server, not of an article.
  bool Greeted() const { return greeted_; }
  // True once greeting, TLS and login are all done: a failure while this is false is one of
  // reaching the server, not of an article.
  bool SessionReady() const { return ready_; }
  // Login, then Logout.
  void Action() override;

  // The article becomes a copy of lines (null empties it). An item may hold several lines
  // separated by CR LF.
  void SetArticle(const std::vector<std::string>* lines);
  const std::vector<std::string>& Article() const { return article_; }

  // Logs in when not logged in; POST, the article dot-stuffed, ".", and the reply.
  // EProtocolError when the server refuses (no article line is sent after a refused POST);
  // ELoginError when it refuses POST for want of a login (480) or of encryption (483).
  void PostArticle();

  // Reads one reply line and sets StatusCode and StatusText; EProtocolError for a status of
  // 400 or more. A reply that never completes (connection ended, time limit, a line past
  // kMaxLineLength) gives status 999 and an EProtocolError that says so; a reply without a
  // status gives 999 and an EProtocolError that quotes the whole line.
  void ReadResponse();

  // True when the refusal of an article says that the server has an article with its
  // Message-ID already: 441 (or 435) with "Duplicate" as the reason, or with the status 435
  // of the server's own article transfer passed on ("441 435 Duplicate").
  static bool IsDuplicateRefusal(const EProtocolError& error);

  // The text as it goes on the wire: every line ending in CR LF (items split at CR LF, at a
  // bare LF and at a bare CR), a line that begins with "." given one more in front.
  static std::string DotStuff(const std::string& item);
  // The status of a reply line: its first three characters (the whole line when shorter) as
  // a decimal number, 999 when they are not one.
  static int ParseStatus(const std::string& line);

 private:
  // STARTTLS and the handshake.
  void UpgradeToTls();
  // AUTHINFO USER, and AUTHINFO PASS when the server asks for it.
  void Authenticate();
  // The reply to a login command: its status, 999 when the connection ended.
  int ReadLoginReply();
  // text with the password put out of sight.
  std::string Masked(std::string text) const;

  std::vector<std::string> article_;
  bool greeted_ = false;
  bool ready_ = false;
};

}  // namespace pagolin
