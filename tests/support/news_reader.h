// Helpers of the integration tests: a plain NNTP reader, written independently of the
// program's client, that fetches articles back from the news server on 127.0.0.1:119.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace pagolin::test {

inline constexpr int kNewsPort = 119;

class TNewsReader {
 public:
  TNewsReader() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(kNewsPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
    greeting_ = Line();
    if (greeting_.rfind("20", 0) == 0) Command("MODE READER");
  }
  ~TNewsReader() {
    if (fd_ >= 0) {
      Command("QUIT");
      ::close(fd_);
    }
  }
  TNewsReader(const TNewsReader&) = delete;
  TNewsReader& operator=(const TNewsReader&) = delete;

  // True when a news server answered with a greeting that allows reading.
  bool Ready() const { return fd_ >= 0 && greeting_.rfind("20", 0) == 0; }
  const std::string& Greeting() const { return greeting_; }

  // Sends a command, returns the status line.
  std::string Command(const std::string& command) {
    const std::string line = command + "\r\n";
    if (::send(fd_, line.data(), line.size(), MSG_NOSIGNAL) < 0) return {};
    return Line();
  }

  // The article with this Message-ID as stored (lines without CR LF, dot-stuffing undone),
  // empty when the server does not have it (it is asked again for up to two seconds).
  std::vector<std::string> Article(const std::string& messageId) {
    for (int attempt = 0; attempt < 20; ++attempt) {
      if (Command("ARTICLE " + messageId).rfind("220", 0) == 0) return Multiline();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
  }

  // The newest article of group whose Subject line is exactly subjectLine.
  std::vector<std::string> ArticleBySubject(const std::string& group, const std::string& subjectLine) {
    const std::vector<long> numbers = NumbersBySubject(group, subjectLine);
    if (numbers.empty() || Command("ARTICLE " + std::to_string(numbers.front())).rfind("220", 0) != 0)
      return {};
    return Multiline();
  }
  // How many of the newest 200 articles of group have that Subject line (asked again for up to
  // two seconds while there are none).
  std::size_t CountBySubject(const std::string& group, const std::string& subjectLine) {
    return NumbersBySubject(group, subjectLine).size();
  }

 private:
  // The numbers of the matching articles, newest first (one header listing of the group).
  std::vector<long> NumbersBySubject(const std::string& group, const std::string& subjectLine) {
    std::vector<long> numbers;
    for (int attempt = 0; attempt < 20 && numbers.empty(); ++attempt) {
      if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      const std::string status = Command("GROUP " + group);
      long first = 0, last = 0, count = 0;
      if (std::sscanf(status.c_str(), "211 %ld %ld %ld", &count, &first, &last) != 3) continue;
      const long from = std::max(first, last - 199);
      if (Command("XHDR Subject " + std::to_string(from) + "-" + std::to_string(last)).rfind("221", 0) != 0)
        continue;
      for (const std::string& l : Multiline()) {  // "number value"
        const std::size_t blank = l.find(' ');
        if (blank != std::string::npos && "Subject: " + l.substr(blank + 1) == subjectLine)
          numbers.insert(numbers.begin(), std::stol(l.substr(0, blank)));
      }
    }
    return numbers;
  }
  std::string Line() {
    for (;;) {
      const std::size_t lf = buffer_.find('\n');
      if (lf != std::string::npos) {
        std::string line = buffer_.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        buffer_.erase(0, lf + 1);
        return line;
      }
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 5000) <= 0) return {};
      char chunk[8192];
      const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
      if (n <= 0) return {};
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }
  std::vector<std::string> Multiline() {
    std::vector<std::string> lines;
    for (;;) {
      std::string line = Line();
      if (line == ".") return lines;
      if (!line.empty() && line[0] == '.') line.erase(0, 1);
      lines.push_back(line);
      if (lines.size() > 100000) return lines;
    }
  }
  int fd_ = -1;
  std::string buffer_;
  std::string greeting_;
};

// The header lines (up to the empty line) and the body lines of an article.
struct TArticleParts {
  std::vector<std::string> header, body;
};
inline TArticleParts SplitArticle(const std::vector<std::string>& lines) {
  TArticleParts parts;
  std::size_t i = 0;
  for (; i < lines.size() && !lines[i].empty(); ++i) parts.header.push_back(lines[i]);
  for (++i; i < lines.size(); ++i) parts.body.push_back(lines[i]);
  return parts;
}

// A token no earlier test run used, for subjects to find articles by.
inline std::string UniqueToken() {
  std::random_device device;
  return std::to_string(device()) + std::to_string(getpid());
}

inline const char* kServerMissing =
    "The news server is not running on 127.0.0.1:119. Start it with tests/integration/start-servers "
    "(scripts/setup test does this).";

}  // namespace pagolin::test
