#include "core/net/tlssession.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <map>

#include "core/net/waits.h"

namespace pagolin {

namespace {

using Clock = TWaitClock;

bool IsAddress(const std::string& host) {
  in_addr v4{};
  in6_addr v6{};
  return inet_pton(AF_INET, host.c_str(), &v4) == 1 || inet_pton(AF_INET6, host.c_str(), &v6) == 1;
}

// The reason of OpenSSL's oldest queued error, "" when there is none.
std::string OpenSslReason() {
  const unsigned long code = ERR_peek_error();
  if (code == 0) return {};
  const char* reason = ERR_reason_error_string(code);
  return reason != nullptr ? reason : "error " + std::to_string(ERR_GET_REASON(code));
}

// How a wait for the socket ended.
enum class TWait { wReady, wEnded, wTimedOut };

// The index of the connection's session key in each SSL object (for the new-session callback).
int SessionKeyIndex() {
  static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
  return index;
}

}  // namespace

struct TTlsContext::TImpl {
  SSL_CTX* ctx = nullptr;
  // The last session of each server ("host:port"), one reference held each.
  std::map<std::string, SSL_SESSION*> sessions;

  ~TImpl() {
    for (auto& [key, session] : sessions) SSL_SESSION_free(session);
    SSL_CTX_free(ctx);
  }
  void Keep(const std::string& key, SSL_SESSION* session) {
    auto [it, added] = sessions.emplace(key, session);
    if (!added) {
      SSL_SESSION_free(it->second);
      it->second = session;
    }
  }
  void Forget(const std::string& key) {
    const auto it = sessions.find(key);
    if (it == sessions.end()) return;
    SSL_SESSION_free(it->second);
    sessions.erase(it);
  }
};

namespace {

// OpenSSL hands over each new session of a connection (in TLS 1.3 after the handshake, with
// the server's first data); the context keeps it for the next connection to that server.
int KeepNewSession(SSL* ssl, SSL_SESSION* session) {
  auto* key = static_cast<const std::string*>(SSL_get_ex_data(ssl, SessionKeyIndex()));
  auto* context = static_cast<TTlsContext::TImpl*>(SSL_CTX_get_app_data(SSL_get_SSL_CTX(ssl)));
  if (key == nullptr || context == nullptr) return 0;
  context->Keep(*key, session);
  return 1;  // the reference is ours now
}

}  // namespace

TTlsContext::TTlsContext(const std::string& caFile) : caFile_(caFile), impl_(std::make_unique<TImpl>()) {
  impl_->ctx = SSL_CTX_new(TLS_client_method());
  if (impl_->ctx == nullptr) throw ETlsError("TLS cannot be used (" + OpenSslReason() + ")");
  SSL_CTX_set_min_proto_version(impl_->ctx, TLS1_2_VERSION);
  // A server that closes after its last answer without saying so ends the connection as a
  // plain one would; every answer is a complete line, so nothing cut short is ever taken.
  SSL_CTX_set_options(impl_->ctx, SSL_OP_IGNORE_UNEXPECTED_EOF | SSL_OP_NO_COMPRESSION);
  SSL_CTX_set_verify(impl_->ctx, SSL_VERIFY_PEER, nullptr);
  ERR_clear_error();
  if (caFile.empty()) {
    if (SSL_CTX_set_default_verify_paths(impl_->ctx) != 1)
      throw ETlsError("The system's trusted certificates cannot be read (" + OpenSslReason() + ")");
  } else if (SSL_CTX_load_verify_locations(impl_->ctx, caFile.c_str(), nullptr) != 1) {
    const std::string reason = OpenSslReason();
    ERR_clear_error();
    throw ETlsError("The CA file \"" + caFile + "\" cannot be read or holds no certificate (" + reason + ")");
  }
  SSL_CTX_set_app_data(impl_->ctx, impl_.get());
  SSL_CTX_set_session_cache_mode(impl_->ctx, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
  SSL_CTX_sess_set_new_cb(impl_->ctx, KeepNewSession);
}

TTlsContext::~TTlsContext() = default;

struct TTlsConnection::TImpl {
  TTlsContext& context;
  TSocket socket;
  SSL* ssl = nullptr;
  BIO* fromServer = nullptr;  // owned by ssl
  BIO* toServer = nullptr;    // owned by ssl
  std::string sessionKey;
  bool ended = false;  // the socket has ended (EOF or error)

  TImpl(TTlsContext& c, TSocket s) : context(c), socket(s) {}
  ~TImpl() { SSL_free(ssl); }

  // TLS comes in small pieces (the handshake's flights, session tickets, then the first
  // answer). A server that waits for the acknowledgement of one piece before it sends the next
  // (the system's small-packet rule) would otherwise wait up to 40 ms each time for the
  // delayed acknowledgement of this side. The setting lasts only a while, so it is renewed
  // after every receive.
  void AcknowledgeAtOnce() const {
#ifdef TCP_QUICKACK
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#endif
  }

  // The socket has ended: OpenSSL sees the end of the stream from now on.
  void End() {
    ended = true;
    BIO_set_mem_eof_return(fromServer, 0);
  }

  // Sends what OpenSSL has written; false when the socket broke.
  bool Flush() {
    char chunk[16384];
    while (BIO_ctrl_pending(toServer) > 0) {
      const int n = BIO_read(toServer, chunk, sizeof chunk);
      if (n <= 0) return true;
      int sent = 0;
      while (sent < n) {
        // Blocking, within the socket's send time limit; no SIGPIPE for a gone server.
        const ssize_t s = send(socket, chunk + sent, static_cast<std::size_t>(n - sent), MSG_NOSIGNAL);
        if (s < 0 && errno == EINTR) continue;
        if (s <= 0) {
          End();
          return false;
        }
        sent += static_cast<int>(s);
      }
    }
    return true;
  }

  // Waits for bytes from the server and hands them to OpenSSL.
  TWait Fill(Clock::time_point deadline) {
    if (ended) return TWait::wEnded;
    pollfd p{socket, POLLIN, 0};
    for (;;) {
      const int ready = poll(&p, 1, MillisecondsLeft(deadline));
      if (ready == 0) return TWait::wTimedOut;
      if (ready > 0) break;
      if (errno != EINTR) break;  // the receive reports it
    }
    char chunk[16384];
    ssize_t n;
    do {
      n = recv(socket, chunk, sizeof chunk, 0);
    } while (n < 0 && errno == EINTR);
    AcknowledgeAtOnce();
    if (n <= 0) {
      End();
      return TWait::wEnded;
    }
    BIO_write(fromServer, chunk, static_cast<int>(n));
    return TWait::wReady;
  }

  // Runs op (SSL_connect, SSL_read, SSL_write) until it completes or cannot: its result when
  // positive, else the SSL error code; timedOut tells a deadline that passed.
  template <typename Op>
  int Pump(Op op, Clock::time_point deadline, int& error, bool& timedOut) {
    timedOut = false;
    for (;;) {
      ERR_clear_error();
      const bool endedBefore = ended;
      const int result = op();
      error = result > 0 ? SSL_ERROR_NONE : SSL_get_error(ssl, result);
      if (!Flush() && error == SSL_ERROR_NONE) error = SSL_ERROR_SYSCALL;
      // Once the stream has ended OpenSSL has nothing more to wait for.
      if (error != SSL_ERROR_WANT_READ || endedBefore) return result;
      if (Fill(deadline) == TWait::wTimedOut) {
        timedOut = true;
        return 0;
      }
    }
  }

  std::string HandshakeFailure(int error, bool timedOut, int timeoutMs) const {
    if (timedOut)
      return "The server did not finish the TLS handshake within " + SecondsText(timeoutMs) + " seconds";
    const long verify = SSL_get_verify_result(ssl);
    if (verify == X509_V_ERR_HOSTNAME_MISMATCH || verify == X509_V_ERR_IP_ADDRESS_MISMATCH)
      return "Host name does not match the certificate";
    if (verify != X509_V_OK)
      return std::string("The server's certificate is not trusted (") +
             X509_verify_cert_error_string(verify) + ")";
    const unsigned long code = ERR_peek_error();
    switch (ERR_GET_REASON(code)) {
      case SSL_R_UNSUPPORTED_PROTOCOL:
      case SSL_R_NO_PROTOCOLS_AVAILABLE:
      case SSL_R_TLSV1_ALERT_PROTOCOL_VERSION:
        return "The server offers no TLS version this program accepts (TLS 1.2 or later)";
      case SSL_R_WRONG_VERSION_NUMBER:
      case SSL_R_PACKET_LENGTH_TOO_LONG:
        return "The server does not speak TLS on this port (" + OpenSslReason() + ")";
      default: break;
    }
    if (code == 0 && (ended || error == SSL_ERROR_SYSCALL || error == SSL_ERROR_ZERO_RETURN))
      return "The server closed the connection during the TLS handshake";
    return "The TLS handshake failed (" + OpenSslReason() + ")";
  }
};

TTlsConnection::TTlsConnection(TTlsContext& context, TSocket socket)
    : impl_(std::make_unique<TImpl>(context, socket)) {}

TTlsConnection::~TTlsConnection() = default;

void TTlsConnection::Handshake(const std::string& host, std::uint16_t port, int timeoutMs) {
  TImpl& d = *impl_;
  TTlsContext::TImpl& context = *d.context.impl_;
  d.ssl = SSL_new(context.ctx);
  d.fromServer = BIO_new(BIO_s_mem());
  d.toServer = BIO_new(BIO_s_mem());
  if (d.ssl == nullptr || d.fromServer == nullptr || d.toServer == nullptr) {
    BIO_free(d.fromServer);
    BIO_free(d.toServer);
    d.fromServer = d.toServer = nullptr;
    throw ETlsError("TLS cannot be used (" + OpenSslReason() + ")");
  }
  BIO_set_mem_eof_return(d.fromServer, -1);  // empty means "more to come" until the socket ends
  SSL_set_bio(d.ssl, d.fromServer, d.toServer);
  // The certificate must name the host as the user gave it: a name, or an address.
  X509_VERIFY_PARAM* param = SSL_get0_param(d.ssl);
  if (IsAddress(host)) {
    X509_VERIFY_PARAM_set1_ip_asc(param, host.c_str());
  } else {
    X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    SSL_set1_host(d.ssl, host.c_str());
    SSL_set_tlsext_host_name(d.ssl, host.c_str());
  }
  d.sessionKey = host + ":" + std::to_string(port);
  SSL_set_ex_data(d.ssl, SessionKeyIndex(), &d.sessionKey);
  if (const auto it = context.sessions.find(d.sessionKey); it != context.sessions.end())
    SSL_set_session(d.ssl, it->second);

  int error = 0;
  bool timedOut = false;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  d.AcknowledgeAtOnce();
  if (d.Pump([&] { return SSL_connect(d.ssl); }, deadline, error, timedOut) == 1) return;
  const std::string message = d.HandshakeFailure(error, timedOut, timeoutMs);
  ERR_clear_error();
  context.Forget(d.sessionKey);
  throw ETlsError(message);
}

int TTlsConnection::Read(char* buffer, int size, int timeoutMs) {
  TImpl& d = *impl_;
  int error = 0;
  bool timedOut = false;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const int n = d.Pump([&] { return SSL_read(d.ssl, buffer, size); }, deadline, error, timedOut);
  ERR_clear_error();
  if (n > 0) return n;
  return timedOut ? kTimedOut : 0;
}

bool TTlsConnection::Write(const char* buffer, int count, int timeoutMs) {
  TImpl& d = *impl_;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  int written = 0;
  while (written < count) {
    int error = 0;
    bool timedOut = false;
    const int n = d.Pump([&] { return SSL_write(d.ssl, buffer + written, count - written); }, deadline, error,
                         timedOut);
    ERR_clear_error();
    if (n <= 0) return false;
    written += n;
  }
  return true;
}

void TTlsConnection::Shutdown() noexcept {
  TImpl& d = *impl_;
  if (d.ssl == nullptr || d.ended || !SSL_is_init_finished(d.ssl)) return;
  SSL_shutdown(d.ssl);
  d.Flush();
  ERR_clear_error();
}

std::string TTlsConnection::Description() const {
  if (impl_->ssl == nullptr) return {};
  const char* cipher = SSL_get_cipher_name(impl_->ssl);
  return std::string(SSL_get_version(impl_->ssl)) + " " + (cipher != nullptr ? cipher : "");
}

bool TTlsConnection::Resumed() const { return impl_->ssl != nullptr && SSL_session_reused(impl_->ssl) == 1; }

}  // namespace pagolin
