// T_TcpIp: one blocking IPv4 TCP client connection. It resolves a host, connects to a port,
// writes texts and buffers, reads bytes and CR LF-terminated lines, tells whether the
// connection is still up, and reports socket events as trace texts. It knows no application
// protocol; T_NNTP derives from it.
//
// Every wait has a time limit (Timeout, milliseconds): connecting, and each read. A read that
// runs out of time ends like a closed connection (the closed flag is set) and TimedOut() tells
// the two apart. A line has a size limit (kMaxLineLength): a longer one ends the connection in
// the same way, told by LineTooLong(), so a peer can never fill the memory with one endless
// line. Once the connection has ended, reads return at once. Nothing here is thread-safe; one
// object is used by one thread.
//
// StartTls turns the open connection into a TLS connection (tlssession.h); from then on every
// read and write goes through it, and the traces count the bytes of the plain text.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/net/ip_misc.h"

namespace pagolin {

// Levels of trace texts: a command sent, a reply line received, socket activity.
enum class TTraceLevel { tlCommand = 0, tlReply = 1, tlSocket = 2 };
using TTraceProc = std::function<void(const std::string& s, TTraceLevel level)>;

using TSocket = int;
inline constexpr TSocket kNoSocket = -1;

class TTlsContext;
class TTlsConnection;

// "Couldn't resolve hostname " + the host.
class ETcpIpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Always "Error creating socket"; ErrorCode is the system's error number of the failure.
class ESocketError : public ETcpIpError {
 public:
  explicit ESocketError(std::uint16_t errorCode)
      : ETcpIpError("Error creating socket"), ErrorCode(errorCode) {}
  std::uint16_t ErrorCode;
};

// A refusal by the server: the message is the reply text, ErrorCode its status.
class EProtocolError : public ETcpIpError {
 public:
  EProtocolError(const std::string& message, std::uint16_t errorCode, std::string protocol)
      : ETcpIpError(message), ErrorCode(errorCode), Protocol(std::move(protocol)) {}
  std::uint16_t ErrorCode;
  std::string Protocol;
};

class T_TcpIp {
 public:
  static constexpr std::size_t kReadBufferSize = 0x7F00;
  static constexpr int kDefaultTimeout = 30000;
  // The longest line ReadLine takes, without its CR LF. Lines of text protocols are far
  // shorter (a news server's replies at most 512 bytes).
  static constexpr std::size_t kMaxLineLength = 4096;

  T_TcpIp();
  // Logs out (without tracing) when a socket is still open; errors of that are dropped.
  virtual ~T_TcpIp();
  T_TcpIp(const T_TcpIp&) = delete;
  T_TcpIp& operator=(const T_TcpIp&) = delete;

  // Server name or dotted IPv4 address.
  std::string Hostname;
  // The certificates StartTls trusts: a file of them, or "" for the system's trust store.
  std::string CAFile;
  // Receiver of the trace texts; nothing is formatted while it is unassigned.
  TTraceProc OnTrace;

  std::uint16_t Port() const { return port_; }
  void SetPort(std::uint16_t port) { port_ = port; }
  // Time limit of connecting and of each read, in milliseconds (at least 1).
  int Timeout() const { return timeout_; }
  void SetTimeout(int milliseconds) { timeout_ = milliseconds < 1 ? 1 : milliseconds; }

  TSocket Socket() const { return socket_; }
  TIpAddress Address() const { return address_; }
  bool LoggedIn() const { return loggedIn_; }
  // True when the last read ended because the time limit ran out.
  bool TimedOut() const { return timedOut_; }
  // True when the last ReadLine ended because the line passed kMaxLineLength.
  bool LineTooLong() const { return lineTooLong_; }
  // What Action read.
  const std::string& ReceivedData() const { return received_; }

  // Begins TLS on the open connection (at once for a TLS port, or after the server agreed to
  // STARTTLS): the handshake within Timeout, the certificate checked against CAFile (or the
  // system's trust store) and for Hostname, TLS 1.2 or later. A connection to the same server
  // later resumes the session. Throws ETlsError (tlssession.h), after closing the connection.
  void StartTls();
  bool TlsActive() const { return tls_ != nullptr; }
  // "TLSv1.3 TLS_AES_256_GCM_SHA384", "" without TLS.
  std::string TlsDescription() const;
  // True when the TLS handshake resumed an earlier session.
  bool TlsResumed() const;

  // Opens the connection to Hostname at Port (logging out first when logged in).
  // Throws ETcpIpError when the host cannot be resolved, ESocketError when no connection
  // could be made (refused, unreachable, out of time).
  virtual void Login();
  // Closes the socket; the object is idle again.
  virtual void Logout();
  // Login, then reads everything until the connection ends into ReceivedData.
  virtual void Action();
  // Sends command + CR LF in one write and traces the command at level 0.
  virtual void SendCommand(const std::string& command);
  // True when the connection has ended (closed flag) or the socket is not connected.
  virtual bool Eof(TSocket socket);

  // 0 no socket, 1 not connected, 2 connected, 3 error.
  int SocketState(TSocket socket) const;
  // Receives up to size bytes into buffer (dropped when buffer is null); count gets the number
  // received, 0 or less when the connection ended, failed or ran out of time (closed flag set).
  void ReadBuffer(TSocket socket, char* buffer, int& count, int size);
  // Reads one line; CR bytes are dropped wherever they stand, LF ends the line. When the
  // connection ends before an LF, or the line passes kMaxLineLength, or the whole line does
  // not arrive within the time limit, line keeps its value and the closed flag is set.
  void ReadLine(TSocket socket, std::string& line);
  // Sends all count bytes (again where the system took only part); failures are not reported
  // here (a later read sees them). Traced as "Sent " + count + " bytes on socket ID " + handle.
  void WriteBuffer(TSocket socket, const char* buffer, int count);
  void WriteString(TSocket socket, const std::string& text);

  // Connection primitives (kept public for the derived client and for tests).
  void OpenSocket(TSocket& socket, std::uint16_t port, TIpAddress address);
  TSocket CreateSocket();
  void CloseSocket(TSocket& socket);

 protected:
  void Trace(const std::string& text, TTraceLevel level) const {
    if (OnTrace) OnTrace(text, level);
  }
  // What a destructor does with a connection still open: Logout with a short time limit,
  // without traces, errors dropped.
  void LogoutQuietly() noexcept;

 private:
  // Waits until the socket is readable; false when the time limit ran out.
  bool WaitReadable(TSocket socket, int timeoutMs);
  // One receive into buffer; the trace and the closed flag as ReadBuffer.
  int Receive(TSocket socket, char* buffer, int size, int timeoutMs);

  TSocket socket_ = kNoSocket;
  std::uint16_t port_ = 0;
  TIpAddress address_ = kNoAddress;
  bool closed_ = false;
  bool loggedIn_ = false;
  bool timedOut_ = false;
  bool lineTooLong_ = false;
  int timeout_ = kDefaultTimeout;
  std::string received_;
  std::vector<char> readBuffer_;
  // Bytes received ahead of the current line, for the component's own socket.
  std::string pending_;
  std::size_t pendingPos_ = 0;
  int lastError_ = 0;
  // Kept from one connection to the next (trusted certificates, sessions to resume).
  std::unique_ptr<TTlsContext> tlsContext_;
  std::unique_ptr<TTlsConnection> tls_;
};

}  // namespace pagolin
