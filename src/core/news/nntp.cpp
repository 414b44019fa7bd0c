#include "core/news/nntp.h"

#include <cctype>

#include "core/net/waits.h"

namespace pagolin {

T_NNTP::T_NNTP() { SetPort(kDefaultPort); }

T_NNTP::~T_NNTP() {
  if (Socket() != kNoSocket) LogoutQuietly();
}

int T_NNTP::ParseStatus(const std::string& line) {
  const std::string head = line.substr(0, 3);
  if (head.empty()) return kNoStatus;
  int value = 0;
  for (char c : head) {
    if (c < '0' || c > '9') return kNoStatus;
    value = value * 10 + (c - '0');
  }
  return value;
}

void T_NNTP::ReadResponse() {
  std::string line;
  ReadLine(Socket(), line);
  if (OnTrace) Trace(Masked(line), TTraceLevel::tlReply);
  StatusCode = ParseStatus(line);
  StatusText = line.size() > 4 ? line.substr(4) : std::string();
  if (StatusCode < 400) return;
  std::string message = StatusText;
  if (LineTooLong()) {
    message = "The news server sent a reply line longer than " + std::to_string(kMaxLineLength) + " bytes";
  } else if (line.empty() && Eof(Socket())) {
    // No reply at all: say why, rather than an empty text.
    message = TimedOut() ? "No reply from the news server within " + SecondsText(Timeout()) + " seconds"
                         : "The news server closed the connection without a complete reply";
  } else if (StatusCode == kNoStatus) {
    // Not a reply of a news server: its start is no status, so it is shown whole.
    message = "The news server answered without a status: " + line;
  }
  throw EProtocolError(message, static_cast<std::uint16_t>(StatusCode), "NNTP");
}

void T_NNTP::Login() {
  T_TcpIp::Login();  // an old connection still open gets its goodbye first
  greeted_ = false;
  ready_ = false;
  if (Security == TNewsSecurity::nsTls) StartTls();
  ReadResponse();
  greeted_ = true;
  // Reader mode first: a server that hands readers to another program offers STARTTLS and
  // the login only there.
  SendCommand("MODE READER");
  try {
    ReadResponse();
  } catch (const EProtocolError&) {
    // Reader mode is a wish; a server that refuses it may still take the post. A server that
    // has gone silent or away will not.
    if (Eof(Socket())) throw;
  }
  if (Security == TNewsSecurity::nsStartTls) UpgradeToTls();
  if (!User.empty()) Authenticate();
  ready_ = true;
}

void T_NNTP::UpgradeToTls() {
  SendCommand("STARTTLS");
  try {
    ReadResponse();
  } catch (const EProtocolError& e) {
    if (e.ErrorCode == kNoStatus) throw;
    if (e.ErrorCode == 580) throw ETlsError("The server could not begin TLS (580 " + StatusText + ")");
    throw ETlsError("The server does not offer STARTTLS");
  }
  if (StatusCode != 382) throw ETlsError("The server does not offer STARTTLS");
  StartTls();
}

std::string T_NNTP::Masked(std::string text) const {
  if (Password.empty()) return text;
  for (std::size_t at = text.find(Password); at != std::string::npos; at = text.find(Password, at + 8))
    text.replace(at, Password.size(), "********");
  return text;
}

int T_NNTP::ReadLoginReply() {
  try {
    ReadResponse();
    return StatusCode;
  } catch (const EProtocolError& e) {
    if (e.ErrorCode == kNoStatus) throw EProtocolError(Masked(e.what()), e.ErrorCode, e.Protocol);
    return e.ErrorCode;
  }
}

void T_NNTP::Authenticate() {
  // A line break would end the command early and smuggle in another one.
  const auto breaks = [](const std::string& s) {
    return s.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
  };
  if (breaks(User) || breaks(Password))
    throw ELoginError("The user name or the password holds a line break, which a news server cannot take", 0);
  const auto refused = [this](int status) {
    const std::string answer = std::to_string(status) + " " + Masked(StatusText);
    if (status == 483) {
      throw ELoginError("The news server wants an encrypted connection for the login (" + answer +
                            "): choose STARTTLS or TLS in the settings",
                        status);
    }
    throw ELoginError("Login refused by the news server (" + answer + ")", status);
  };
  SendCommand("AUTHINFO USER " + User);
  int status = ReadLoginReply();
  if (status == 281) return;  // no password wanted
  if (status != 381) refused(status);
  WriteString(Socket(), "AUTHINFO PASS " + Password + "\r\n");
  Trace("AUTHINFO PASS ********", TTraceLevel::tlCommand);
  status = ReadLoginReply();
  if (status != 281) refused(status);
}

void T_NNTP::Logout() {
  const bool greeted = greeted_;
  greeted_ = false;
  ready_ = false;
  if (LoggedIn() && !greeted) {
    // A server that never greeted properly gets no goodbye to wait for.
    T_TcpIp::Logout();
    return;
  }
  if (LoggedIn() && Eof(Socket())) {
    // The connection is known to be gone: no goodbye to wait for.
    T_TcpIp::Logout();
    throw EProtocolError("The news server closed the connection", kNoStatus, "NNTP");
  }
  if (LoggedIn()) {
    try {
      SendCommand("QUIT");
      ReadResponse();
    } catch (const ETcpIpError&) {
      T_TcpIp::Logout();
      throw;
    }
  }
  T_TcpIp::Logout();
}

void T_NNTP::Action() {
  Login();
  Logout();
}

void T_NNTP::SetArticle(const std::vector<std::string>* lines) {
  if (lines != nullptr) {
    article_ = *lines;
  } else {
    article_.clear();
  }
}

bool T_NNTP::IsDuplicateRefusal(const EProtocolError& error) {
  if (error.ErrorCode != 441 && error.ErrorCode != 435) return false;
  std::string text = error.what();
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto startsWith = [&](const char* prefix) { return text.rfind(prefix, 0) == 0; };
  // "Duplicate" alone or naming the article; not, say, a "Duplicate "Subject" header".
  return text == "435" || startsWith("435 ") || text == "duplicate" || startsWith("duplicate article") ||
         startsWith("duplicate message-id") || startsWith("duplicate message id");
}

std::string T_NNTP::DotStuff(const std::string& item) {
  std::string out;
  out.reserve(item.size() + 8);
  std::size_t start = 0;
  for (;;) {
    // A line ends at CR LF, at a bare LF or at a bare CR.
    const std::size_t end = item.find_first_of("\r\n", start);
    const std::size_t stop = end == std::string::npos ? item.size() : end;
    if (stop > start && item[start] == '.') out += '.';
    out.append(item, start, stop - start);
    out += "\r\n";
    if (end == std::string::npos) break;
    start = end + (item.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return out;
}

void T_NNTP::PostArticle() {
  if (!LoggedIn()) Login();
  SendCommand("POST");
  try {
    ReadResponse();
  } catch (const EProtocolError& e) {
    const std::string answer = std::to_string(e.ErrorCode) + " " + StatusText;
    if (e.ErrorCode == 480) {
      throw ELoginError("The news server wants a login (" + answer +
                            "): enter the user name and the password in the settings",
                        e.ErrorCode);
    }
    if (e.ErrorCode == 483) {
      throw ELoginError("The news server wants an encrypted connection (" + answer +
                            "): choose STARTTLS or TLS in the settings",
                        e.ErrorCode);
    }
    throw;
  }
  for (const std::string& item : article_) WriteString(Socket(), DotStuff(item));
  WriteString(Socket(), ".\r\n");
  ReadResponse();
}

}  // namespace pagolin
