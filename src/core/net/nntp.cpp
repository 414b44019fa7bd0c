#include "core/net/nntp.h"

#include <cctype>

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
  if (LineTooLong()) {
    message = "The news server sent a reply line longer than " + std::to_string(kMaxLineLength) +
              " bytes";
  } else if (line.empty() && Eof(Socket())) {
    // No reply at all: say why, rather than an empty text.
    message = TimedOut() ? "No reply from the news server within " + Seconds(Timeout()) + " seconds"
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
  ReadResponse();
  greeted_ = true;
  SendCommand("MODE READER");
  try {
    ReadResponse();
  } catch (const EProtocolError&) {
    // Reader mode is a wish; a server that refuses it may still take the post. A server that
    // has gone silent or away will not.
    if (Eof(Socket())) throw;
  }
}

void T_NNTP::Logout() {
  const bool greeted = greeted_;
  greeted_ = false;
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
  return text == "435" || startsWith("435 ") || text == "duplicate" ||
         startsWith("duplicate article") || startsWith("duplicate message-id") ||
         startsWith("duplicate message id");
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
  ReadResponse();
  for (const std::string& item : article_) WriteString(Socket(), DotStuff(item));
  WriteString(Socket(), ".\r\n");
  ReadResponse();
}

}  // namespace pagolin
