#include "core/net/nntp.h"

namespace pagolin {

namespace {

// 30000 gives "30", 300 gives "0.3".
std::string Seconds(int milliseconds) {
  std::string text = std::to_string(milliseconds / 1000);
  if (milliseconds % 1000 != 0) text += "." + std::to_string(milliseconds % 1000 / 100);
  return text;
}

}  // namespace

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
  Trace(line, TTraceLevel::tlReply);
  StatusCode = ParseStatus(line);
  StatusText = line.size() > 4 ? line.substr(4) : std::string();
  if (StatusCode < 400) return;
  std::string message = StatusText;
  if (line.empty() && Eof(Socket())) {
    // No reply at all: say why, rather than an empty text.
    message = TimedOut() ? "No reply from the news server within " + Seconds(Timeout()) + " seconds"
                         : "The news server closed the connection without a complete reply";
  }
  throw EProtocolError(message, static_cast<std::uint16_t>(StatusCode), "NNTP");
}

void T_NNTP::Login() {
  T_TcpIp::Login();
  ReadResponse();
  SendCommand("MODE READER");
  try {
    ReadResponse();
  } catch (const ETcpIpError&) {
    // Reader mode is a wish; a server that refuses it may still take the post.
  }
}

void T_NNTP::Logout() {
  if (LoggedIn() && Eof(Socket())) {
    // The connection is known to be gone: no goodbye to wait for.
    T_TcpIp::Logout();
    throw EProtocolError("The news server closed the connection", kNoStatus, "NNTP");
  }
  if (LoggedIn()) {
    try {
      SendCommand("QUIT");
      ReadResponse();
    } catch (...) {
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

std::string T_NNTP::DotStuff(const std::string& item) {
  std::string out;
  out.reserve(item.size() + 8);
  std::size_t start = 0;
  for (;;) {
    const std::size_t lf = item.find('\n', start);
    std::size_t end = lf == std::string::npos ? item.size() : lf;
    const std::size_t next = lf == std::string::npos ? std::string::npos : lf + 1;
    if (lf != std::string::npos && end > start && item[end - 1] == '\r') --end;
    if (end > start && item[start] == '.') out += '.';
    out.append(item, start, end - start);
    out += "\r\n";
    if (next == std::string::npos) break;
    start = next;
  }
  return out;
}

void T_NNTP::PostArticle() {
  if (!LoggedIn()) Login();
  SendCommand("POST");
  ReadResponse();
  for (const std::string& item : article_) WriteString(Socket(), DotStuff(item));
  WriteString(Socket(), ".\r\n");
  ReadResponse();
}

}  // namespace pagolin
