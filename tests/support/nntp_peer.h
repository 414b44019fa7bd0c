// A small server on 127.0.0.1 for the network tests: it accepts connections on a free port and
// runs a script per connection on its own thread, so a test can play any server, including
// the ones that misbehave.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pagolin::test {

// One accepted connection as the script sees it.
class TPeer {
 public:
  // What the script talks through instead of the socket once it is set (TLS: tls_peer.h).
  struct TTransport {
    std::function<ssize_t(const char* data, std::size_t size)> send;
    std::function<ssize_t(char* data, std::size_t size)> recv;
    std::function<bool()> pending;  // bytes wait inside the transport
  };

  explicit TPeer(int fd) : fd_(fd) {}
  int Fd() const { return fd_; }
  void SetTransport(TTransport transport) { transport_ = std::move(transport); }

  // False when the client has gone before all was sent.
  bool Send(const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
      const ssize_t n = transport_.send ? transport_.send(text.data() + sent, text.size() - sent)
                                        : ::send(fd_, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }
  // One line without its CR LF; false when the client closed first (or 5 s passed).
  bool ReadLine(std::string& line) {
    line.clear();
    for (;;) {
      const std::size_t lf = buffer_.find('\n');
      if (lf != std::string::npos) {
        line = buffer_.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        buffer_.erase(0, lf + 1);
        return true;
      }
      pollfd p{fd_, POLLIN, 0};
      if (!(transport_.pending && transport_.pending()) && poll(&p, 1, 5000) <= 0) return false;
      char chunk[4096];
      const ssize_t n =
          transport_.recv ? transport_.recv(chunk, sizeof chunk) : ::recv(fd_, chunk, sizeof chunk, 0);
      if (n <= 0) return false;
      raw_.append(chunk, static_cast<std::size_t>(n));
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }
  // Lines up to the lone "." (not included), as they came, dot-stuffing kept.
  std::string ReadArticle() {
    std::string article, line;
    while (ReadLine(line) && line != ".") article += line + "\r\n";
    return article;
  }
  // Waits until the client closes (or 5 s pass).
  void WaitForClose() {
    std::string line;
    while (ReadLine(line)) {
    }
  }
  // Everything the client sent so far, byte for byte.
  const std::string& Raw() const { return raw_; }

 private:
  int fd_;
  TTransport transport_;
  std::string buffer_;
  std::string raw_;
};

class TTestServer {
 public:
  using TScript = std::function<void(TPeer& peer)>;

  // Serves up to connections connections, one after the other, each with script.
  explicit TTestServer(TScript script, int connections = 1)
      : script_(std::move(script)), connections_(connections) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 8);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, connections] {
      for (int i = 0; i < connections && !stop_; ++i) {
        pollfd p{listener_, POLLIN, 0};
        while (!stop_ && poll(&p, 1, 50) == 0) {
        }
        if (stop_) break;
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0) break;
        TPeer peer(fd);
        script_(peer);
        {
          std::lock_guard<std::mutex> lock(mutex_);
          received_ += peer.Raw();
        }
        ::close(fd);
        ++served_;
      }
    });
  }
  ~TTestServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
  }
  TTestServer(const TTestServer&) = delete;
  TTestServer& operator=(const TTestServer&) = delete;

  std::uint16_t Port() const { return port_; }
  // Waits (5 s at most) for every connection's script to finish, then tells what all clients
  // sent.
  std::string Received() {
    for (int i = 0; i < 500 && served_ < connections_; ++i) usleep(10000);
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
  }
  int Served() const { return served_; }

 private:
  TScript script_;
  int connections_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> served_{0};
  std::mutex mutex_;
  std::string received_;
};

// The dialogue of a well-behaved news server: greeting, reader mode, POST, article; then QUIT,
// which onQuit answers (or not).
inline void NewsServerDialogue(TPeer& peer, const std::function<void(TPeer&)>& onQuit) {
  std::string line;
  peer.Send("200 test server ready\r\n");
  while (peer.ReadLine(line)) {
    if (line == "MODE READER") {
      peer.Send("200 reader mode\r\n");
    } else if (line == "POST") {
      peer.Send("340 send article\r\n");
      peer.ReadArticle();
      peer.Send("240 article received\r\n");
    } else if (line == "QUIT") {
      onQuit(peer);
      return;
    } else {
      peer.Send("500 what?\r\n");
    }
  }
}

inline void GoodNewsServer(TPeer& peer) {
  NewsServerDialogue(peer, [](TPeer& p) { p.Send("205 bye\r\n"); });
}

// A posting server that counts the POSTs of all its connections and answers each one in turn
// with its refusal, if one is given ("" or none: the article is taken).
struct TPostingServer {
  std::atomic<int> posts{0};
  std::vector<std::string> refusals;
  void operator()(TPeer& peer) {
    peer.Send("200 ready\r\n");
    std::string line;
    while (peer.ReadLine(line)) {
      if (line == "POST") {
        const std::size_t n = static_cast<std::size_t>(posts++);
        if (n < refusals.size() && !refusals[n].empty()) {
          peer.Send(refusals[n]);
          continue;
        }
        peer.Send("340 go\r\n");
        peer.ReadArticle();
        peer.Send("240 ok\r\n");
      } else if (line == "QUIT") {
        peer.Send("205 bye\r\n");
        return;
      } else {
        peer.Send("200 ok\r\n");
      }
    }
  }
};

}  // namespace pagolin::test
