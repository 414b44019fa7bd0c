// TLS for the scripted test servers of nntp_peer.h: a certificate made for the test by the
// openssl program, a server context over it (one per test server, so that a client can resume
// its session), and the server side of the handshake on an accepted connection.
#pragma once

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "support/nntp_peer.h"

namespace pagolin::test {

// A self-signed certificate and its key, in a temporary folder removed with the object.
class TTestCertificate {
 public:
  // names: the subjectAltName entries, "IP:127.0.0.1" or "DNS:news.example.test".
  explicit TTestCertificate(const std::string& names) {
    char folder[] = "/tmp/pagolin-cert-XXXXXX";
    folder_ = mkdtemp(folder);
    const std::string command =
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 2 -subj /CN=test "
        "-addext subjectAltName=" +
        names + " -keyout " + Key() + " -out " + File() + " 2>/dev/null";
    ok_ = std::system(command.c_str()) == 0;
  }
  ~TTestCertificate() { std::filesystem::remove_all(folder_); }
  TTestCertificate(const TTestCertificate&) = delete;
  TTestCertificate& operator=(const TTestCertificate&) = delete;

  bool Ok() const { return ok_; }
  std::string File() const { return folder_ + "/cert.pem"; }
  std::string Key() const { return folder_ + "/key.pem"; }

 private:
  std::string folder_;
  bool ok_ = false;
};

// The server's side of TLS with one certificate; it lets clients resume their sessions unless
// told not to.
class TTlsServerContext {
 public:
  explicit TTlsServerContext(const TTestCertificate& certificate, bool offerResumption = true)
      : ctx_(SSL_CTX_new(TLS_server_method())) {
    // OpenSSL writes to the socket itself: a client that has gone must not end the test.
    signal(SIGPIPE, SIG_IGN);
    SSL_CTX_use_certificate_file(ctx_, certificate.File().c_str(), SSL_FILETYPE_PEM);
    SSL_CTX_use_PrivateKey_file(ctx_, certificate.Key().c_str(), SSL_FILETYPE_PEM);
    if (!offerResumption) {
      SSL_CTX_set_num_tickets(ctx_, 0);
      SSL_CTX_set_session_cache_mode(ctx_, SSL_SESS_CACHE_OFF);
    }
  }
  ~TTlsServerContext() { SSL_CTX_free(ctx_); }
  TTlsServerContext(const TTlsServerContext&) = delete;
  TTlsServerContext& operator=(const TTlsServerContext&) = delete;

  // The handshake on peer's connection; afterwards the peer talks through TLS. False when the
  // client gave up (it did not trust the certificate, ...). The TLS state lives as long as the
  // peer's script runs (held by the transport).
  bool Accept(TPeer& peer) {
    timeval limit{5, 0};
    setsockopt(peer.Fd(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::shared_ptr<SSL> ssl(SSL_new(ctx_), SSL_free);
    SSL_set_fd(ssl.get(), peer.Fd());
    const bool accepted = SSL_accept(ssl.get()) == 1;
    ERR_clear_error();
    if (!accepted) return false;
    peer.SetTransport({
        [ssl](const char* data, std::size_t size) -> ssize_t {
          return SSL_write(ssl.get(), data, static_cast<int>(size));
        },
        [ssl](char* data, std::size_t size) -> ssize_t {
          const int n = SSL_read(ssl.get(), data, static_cast<int>(size));
          ERR_clear_error();
          return n;
        },
        [ssl] { return SSL_pending(ssl.get()) > 0; },
    });
    return true;
  }

 private:
  SSL_CTX* ctx_;
};

}  // namespace pagolin::test
