#include "core/net/tcpip.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "core/net/tlssession.h"
#include "core/net/waits.h"

namespace pagolin {

namespace {

using Clock = TWaitClock;

void SetBlocking(TSocket s, bool blocking) {
  const int flags = fcntl(s, F_GETFL, 0);
  if (flags < 0) return;
  fcntl(s, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK));
}

// Connects within timeoutMs; 0 on success, else the error number.
int ConnectWithin(TSocket s, const sockaddr_in& address, int timeoutMs) {
  SetBlocking(s, false);
  int error = 0;
  if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    error = errno;
    if (error == EINPROGRESS || error == EINTR) {
      pollfd p{s, POLLOUT, 0};
      const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
      int ready;
      do {
        ready = poll(&p, 1, MillisecondsLeft(deadline));
      } while (ready < 0 && errno == EINTR);
      if (ready == 0) {
        error = ETIMEDOUT;
      } else if (ready < 0) {
        error = errno;
      } else {
        socklen_t length = sizeof error;
        if (getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
      }
    }
  }
  SetBlocking(s, true);
  return error;
}

}  // namespace

T_TcpIp::T_TcpIp() : readBuffer_(kReadBufferSize) {}

T_TcpIp::~T_TcpIp() {
  OnTrace = nullptr;
  if (socket_ != kNoSocket) LogoutQuietly();
}

void T_TcpIp::LogoutQuietly() noexcept {
  OnTrace = nullptr;
  if (timeout_ > 2000) timeout_ = 2000;
  try {
    Logout();
  } catch (...) {
    // The connection is being dropped anyway.
  }
  if (socket_ != kNoSocket) {
    CloseSocket(socket_);
    loggedIn_ = false;
  }
}

void T_TcpIp::Login() {
  if (loggedIn_) {
    // The old connection is dropped; a failure of its goodbye must not stop the new one.
    try {
      Logout();
    } catch (const ETcpIpError&) {
    }
  }
  address_ = ResolveHost(Hostname, timeout_);
  if (address_ == kNoAddress) throw ETcpIpError("Couldn't resolve hostname " + Hostname);
  OpenSocket(socket_, port_, address_);
  if (socket_ == kNoSocket) throw ESocketError(static_cast<std::uint16_t>(lastError_));
  closed_ = false;
  timedOut_ = false;
  lineTooLong_ = false;
  loggedIn_ = true;
}

void T_TcpIp::Logout() {
  CloseSocket(socket_);
  loggedIn_ = false;
}

void T_TcpIp::Action() {
  Login();
  received_.clear();
  while (!Eof(socket_)) {
    int count = 0;
    ReadBuffer(socket_, readBuffer_.data(), count, static_cast<int>(readBuffer_.size()));
    if (count > 0) received_.append(readBuffer_.data(), static_cast<std::size_t>(count));
  }
}

void T_TcpIp::SendCommand(const std::string& command) {
  WriteString(socket_, command + "\r\n");
  Trace(command, TTraceLevel::tlCommand);
}

bool T_TcpIp::Eof(TSocket socket) {
  if (socket == socket_ && socket != kNoSocket && pendingPos_ < pending_.size()) return false;
  return closed_ || SocketState(socket) != 2;
}

int T_TcpIp::SocketState(TSocket socket) const {
  if (socket == kNoSocket) return 0;
  sockaddr_storage peer{};
  socklen_t length = sizeof peer;
  if (getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &length) == 0) return 2;
  return errno == ENOTCONN ? 1 : 3;
}

bool T_TcpIp::WaitReadable(TSocket socket, int timeoutMs) {
  pollfd p{socket, POLLIN, 0};
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const int ready = poll(&p, 1, MillisecondsLeft(deadline));
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) return true;  // let the receive report the error
  }
}

int T_TcpIp::Receive(TSocket socket, char* buffer, int size, int timeoutMs) {
  // A connection that has ended (or ran out of time) is not waited for again.
  if (socket == socket_ && closed_) return 0;
  if (tls_ && socket == socket_) {
    const int count = tls_->Read(buffer, size, timeoutMs);
    if (count > 0) {
      if (OnTrace) {
        Trace("Received " + std::to_string(count) + " bytes on socket ID " + std::to_string(socket),
              TTraceLevel::tlSocket);
      }
      return count;
    }
    timedOut_ = count == TTlsConnection::kTimedOut;
    lastError_ = timedOut_ ? ETIMEDOUT : 0;
    closed_ = true;
    return 0;
  }
  for (;;) {
    if (timeoutMs <= 0 || !WaitReadable(socket, timeoutMs)) {
      timedOut_ = true;
      closed_ = true;
      lastError_ = ETIMEDOUT;
      return 0;
    }
    const ssize_t count = recv(socket, buffer, static_cast<std::size_t>(size), 0);
    if (count > 0) {
      if (OnTrace) {
        Trace("Received " + std::to_string(count) + " bytes on socket ID " + std::to_string(socket),
              TTraceLevel::tlSocket);
      }
      return static_cast<int>(count);
    }
    if (count < 0 && errno == EINTR) continue;
    lastError_ = count < 0 ? errno : 0;
    closed_ = true;
    return static_cast<int>(count);
  }
}

void T_TcpIp::ReadBuffer(TSocket socket, char* buffer, int& count, int size) {
  count = 0;
  timedOut_ = false;
  if (size <= 0) return;
  // Bytes a line read took ahead come first.
  if (socket == socket_ && pendingPos_ < pending_.size()) {
    const std::size_t n = std::min(pending_.size() - pendingPos_, static_cast<std::size_t>(size));
    if (buffer != nullptr) std::memcpy(buffer, pending_.data() + pendingPos_, n);
    pendingPos_ += n;
    count = static_cast<int>(n);
    return;
  }
  std::vector<char> temporary;
  if (buffer == nullptr) {
    temporary.resize(static_cast<std::size_t>(size));
    buffer = temporary.data();
  }
  count = Receive(socket, buffer, size, timeout_);
}

void T_TcpIp::ReadLine(TSocket socket, std::string& line) {
  // The whole line must arrive within the time limit, however slowly it trickles in.
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_);
  timedOut_ = false;
  lineTooLong_ = false;
  std::string accumulator;
  const auto tooLong = [&] {
    if (accumulator.size() <= kMaxLineLength) return false;
    lineTooLong_ = true;
    closed_ = true;  // the rest of the line is still on its way: the connection is done
    return true;
  };
  if (socket != socket_ || socket == kNoSocket) {
    // A foreign socket has no read-ahead of ours: one byte at a time.
    do {
      char byte = 0;
      if (Receive(socket, &byte, 1, MillisecondsLeft(deadline)) <= 0) return;
      if (byte == '\n') {
        line = accumulator;
        return;
      }
      if (byte != '\r') accumulator += byte;
      if (tooLong()) return;
    } while (!Eof(socket));
    return;
  }
  for (;;) {
    if (pendingPos_ >= pending_.size()) {
      pending_.clear();
      pendingPos_ = 0;
      const int n = Receive(socket, readBuffer_.data(), 4096, MillisecondsLeft(deadline));
      if (n <= 0) return;  // ended before an LF: line keeps its value
      pending_.assign(readBuffer_.data(), static_cast<std::size_t>(n));
    }
    const std::size_t end = pending_.find('\n', pendingPos_);
    const std::size_t stop = end == std::string::npos ? pending_.size() : end;
    for (std::size_t i = pendingPos_; i < stop; ++i) {
      if (pending_[i] != '\r') accumulator += pending_[i];
    }
    if (tooLong()) return;
    if (end != std::string::npos) {
      pendingPos_ = end + 1;
      line = std::move(accumulator);
      return;
    }
    pendingPos_ = pending_.size();
    if (Eof(socket)) return;
  }
}

void T_TcpIp::WriteBuffer(TSocket socket, const char* buffer, int count) {
  if (tls_ && socket == socket_) {
    if (!tls_->Write(buffer, count, timeout_)) return;  // a later read sees the broken connection
    if (OnTrace) {
      Trace("Sent " + std::to_string(count) + " bytes on socket ID " + std::to_string(socket),
            TTraceLevel::tlSocket);
    }
    return;
  }
  // A send may take only part of a large buffer; the rest follows, so a line is never cut.
  int sent = 0;
  while (sent < count) {
    const ssize_t n = send(socket, buffer + sent, static_cast<std::size_t>(count - sent), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a later read sees the broken connection
    sent += static_cast<int>(n);
  }
  if (OnTrace) {
    Trace("Sent " + std::to_string(count) + " bytes on socket ID " + std::to_string(socket),
          TTraceLevel::tlSocket);
  }
}

void T_TcpIp::WriteString(TSocket socket, const std::string& text) {
  WriteBuffer(socket, text.data(), static_cast<int>(text.size()));
}

void T_TcpIp::StartTls() {
  if (socket_ == kNoSocket) throw ETlsError("TLS cannot begin: there is no connection");
  const auto fail = [this](const std::string& message) {
    tls_.reset();
    CloseSocket(socket_);
    loggedIn_ = false;
    throw ETlsError(message);
  };
  // Bytes that came before TLS began are not the server's TLS: someone put them in between.
  if (pendingPos_ < pending_.size()) fail("The server sent more than its answer before TLS began");
  try {
    tls_.reset();
    if (!tlsContext_ || tlsContext_->CAFile() != CAFile) {
      tlsContext_.reset();
      tlsContext_ = std::make_unique<TTlsContext>(CAFile);
    }
    tls_ = std::make_unique<TTlsConnection>(*tlsContext_, socket_);
    tls_->Handshake(Hostname, port_, timeout_);
  } catch (const ETlsError& e) {
    fail(e.what());
  }
  if (OnTrace) {
    Trace("TLS on socket ID " + std::to_string(socket_) + ": " + tls_->Description() +
              (tls_->Resumed() ? ", session resumed" : ""),
          TTraceLevel::tlSocket);
  }
}

std::string T_TcpIp::TlsDescription() const { return tls_ ? tls_->Description() : std::string(); }

bool T_TcpIp::TlsResumed() const { return tls_ && tls_->Resumed(); }

TSocket T_TcpIp::CreateSocket() {
  const TSocket s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) {
    lastError_ = errno;
    return kNoSocket;
  }
  return s;
}

void T_TcpIp::CloseSocket(TSocket& socket) {
  if (socket == kNoSocket) return;
  if (tls_ && socket == socket_) {
    tls_->Shutdown();
    tls_.reset();
  }
  close(socket);
  if (OnTrace) Trace("Closed socket ID " + std::to_string(socket), TTraceLevel::tlSocket);
  if (socket == socket_) {
    pending_.clear();
    pendingPos_ = 0;
  }
  socket = kNoSocket;
}

void T_TcpIp::OpenSocket(TSocket& socket, std::uint16_t port, TIpAddress address) {
  CloseSocket(socket);
  socket = CreateSocket();
  const auto failed = [&] {
    if (OnTrace) {
      Trace("Failed to open output socket " + std::to_string(port) + " to host " + AddressText(address),
            TTraceLevel::tlSocket);
    }
  };
  if (socket == kNoSocket) {
    failed();
    return;
  }
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(port);
  target.sin_addr.s_addr = address;
  const int error = ConnectWithin(socket, target, timeout_);
  if (error != 0) {
    lastError_ = error;
    CloseSocket(socket);
    failed();
    return;
  }
  // A send into a peer that stops reading must not block for ever either.
  timeval limit{timeout_ / 1000, (timeout_ % 1000) * 1000};
  setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  // Each line goes out as written: a server waiting for the rest of an article must not wait
  // for the small-packet delay of the system.
  const int on = 1;
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  if (OnTrace) {
    Trace("Opened output socket " + std::to_string(port) + " to host " + AddressText(address) +
              " successfully; ID " + std::to_string(socket),
          TTraceLevel::tlSocket);
  }
}

}  // namespace pagolin
