// TLS for a client connection over a connected TCP socket (OpenSSL). The handshake accepts TLS
// 1.2 or later only and verifies the server's certificate against the system's trust store or
// a CA file, and for the host name (or address) the user gave. Every wait has a time limit.
//
// OpenSSL never touches the socket itself: the connection moves the bytes between the socket
// and OpenSSL's memory buffers, so sends never raise SIGPIPE and every wait is a poll with a
// deadline. Failures are told in words a publisher understands (ETlsError).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/net/tcpip.h"

namespace pagolin {

// A TLS failure: the handshake, the certificate, the host name, or TLS refused by the server.
class ETlsError : public ETcpIpError {
 public:
  using ETcpIpError::ETcpIpError;
};

// What a client keeps from one connection to the next: the certificates it trusts (loaded
// once) and the session of the last connection to each server, which a later connection to
// the same server resumes (a shorter handshake; the certificate was verified the first time).
class TTlsContext {
 public:
  // caFile: the certificates to trust, "" for the system's trust store. Throws ETlsError when
  // the file cannot be read or holds no certificate.
  explicit TTlsContext(const std::string& caFile);
  ~TTlsContext();
  TTlsContext(const TTlsContext&) = delete;
  TTlsContext& operator=(const TTlsContext&) = delete;

  const std::string& CAFile() const { return caFile_; }

  struct TImpl;  // OpenSSL's context and the sessions kept (tlssession.cpp)

 private:
  friend class TTlsConnection;
  std::string caFile_;
  std::unique_ptr<TImpl> impl_;
};

// One TLS connection over a socket that stays owned (and closed) by the caller.
class TTlsConnection {
 public:
  // What Read returns when nothing came within the time limit.
  static constexpr int kTimedOut = -1;

  // REQUIRES: context outlives the connection; socket is connected.
  TTlsConnection(TTlsContext& context, TSocket socket);
  ~TTlsConnection();
  TTlsConnection(const TTlsConnection&) = delete;
  TTlsConnection& operator=(const TTlsConnection&) = delete;

  // The handshake as the client of host (a name or a dotted address; its certificate must
  // name it) at port, done within timeoutMs. Throws ETlsError saying what went wrong:
  // "The server's certificate is not trusted (...)", "Host name does not match the
  // certificate", the server closing the connection or not answering in time, ...
  void Handshake(const std::string& host, std::uint16_t port, int timeoutMs);

  // Up to size bytes of the server's data: their number; 0 when the connection has ended
  // (closed by the server, or broken); kTimedOut when nothing came within timeoutMs.
  int Read(char* buffer, int size, int timeoutMs);
  // Sends all count bytes; false when the connection broke or timeoutMs passed.
  bool Write(const char* buffer, int count, int timeoutMs);
  // Tells the server that the connection ends (close_notify), without waiting for it.
  void Shutdown() noexcept;

  // "TLSv1.3 TLS_AES_256_GCM_SHA384" after the handshake.
  std::string Description() const;
  // True when the handshake resumed the session of an earlier connection.
  bool Resumed() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> impl_;
};

}  // namespace pagolin
