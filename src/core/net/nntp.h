// T_NNTP: the news client. Over the connection of T_TcpIp it reads the server's greeting,
// asks for reader mode, posts one article and says goodbye, with the commands "MODE READER",
// "POST" and "QUIT". Calling order per article: Login, SetArticle, PostArticle, Logout, each
// article on a fresh connection.
#pragma once

#include <string>
#include <vector>

#include "core/net/tcpip.h"

namespace pagolin {

class T_NNTP : public T_TcpIp {
 public:
  static constexpr std::uint16_t kDefaultPort = 119;
  // StatusCode of a reply that does not begin with a number, or that never came.
  static constexpr int kNoStatus = 999;

  T_NNTP();
  ~T_NNTP() override;  // says QUIT when still connected, errors dropped

  // Status of the last reply (999 when it does not begin with a number) and its text from the
  // fifth character on.
  int StatusCode = 0;
  std::string StatusText;

  // Connects and reads the greeting (EProtocolError for 400 or more), then asks for reader
  // mode; any failure of that step is dropped. Also ETcpIpError / ESocketError of the base.
  void Login() override;
  // When logged in, QUIT and its reply; the socket is closed in any case, and an error of
  // the reply goes on to the caller after that. A connection already known to be gone is
  // closed without QUIT (EProtocolError, status 999).
  void Logout() override;
  // Login, then Logout.
  void Action() override;

  // The article becomes a copy of lines (null empties it). An item may hold several lines
  // separated by CR LF.
  void SetArticle(const std::vector<std::string>* lines);
  const std::vector<std::string>& Article() const { return article_; }

  // Logs in when not logged in; POST, the article dot-stuffed, ".", and the reply.
  // EProtocolError when the server refuses (no article line is sent after a refused POST).
  void PostArticle();

  // Reads one reply line and sets StatusCode and StatusText; EProtocolError for a status of
  // 400 or more. A reply that never completes (connection ended, time limit) gives status 999
  // and an EProtocolError that says so.
  void ReadResponse();

  // The text as it goes on the wire: every line (items split at LF, a CR before it dropped)
  // ending in CR LF, a line that begins with "." given one more in front.
  static std::string DotStuff(const std::string& item);
  // The status of a reply line: its first three characters (the whole line when shorter) as
  // a decimal number, 999 when they are not one.
  static int ParseStatus(const std::string& line);

 private:
  std::vector<std::string> article_;
};

}  // namespace pagolin
