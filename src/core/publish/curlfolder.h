// TCurlFolder: the web server's folder reached through libcurl, over SFTP, FTP with explicit
// TLS, or plain FTP. One connection is kept open across the calls and opened again when it
// was lost. Every wait has a time limit.
//
// SFTP checks the server's host key against the known hosts file before anything is sent; a
// key the file does not hold is put to AcceptNewHostKey (with its SHA-256 fingerprint) and,
// when accepted, added to the file; a key that differs from the one the file holds is always
// refused. The login tries the private key, the user's ssh agent and the password, in that
// order. FTPS checks the server's certificate.
//
// Runs on the calling thread; while it waits it calls the pending-messages hook now and then,
// so that a window stays alive.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/publish/publishurl.h"
#include "core/publish/remotefolder.h"

namespace pagolin {

struct TConnectionOptions {
  std::string User;
  std::string Password;        // the login's password, or the private key's passphrase; "" for none
  std::string KnownHostsFile;  // SFTP: the host keys trusted ("" trusts none)
  std::string PrivateKeyFile;  // SFTP: "" for no key file (the agent and the password remain)
  bool UseAgent = true;        // SFTP: also the keys of the user's ssh agent
  std::string CAFile;          // FTPS: the authorities trusted; "" for the system's
  // SFTP: asked about a host key the known hosts file does not hold: the server ("host" or
  // "host:port") and the key's fingerprint. Unset or false refuses the connection.
  std::function<bool(const std::string& server, const std::string& fingerprint)> AcceptNewHostKey;
  long ConnectTimeoutSeconds = 30;
  long StallTimeoutSeconds = 60;  // a transfer that moves no byte for this long is given up
};

class TCurlFolder : public TRemoteFolder {
 public:
  TCurlFolder(TPublishUrl url, TConnectionOptions options);
  ~TCurlFolder() override;
  TCurlFolder(const TCurlFolder&) = delete;
  TCurlFolder& operator=(const TCurlFolder&) = delete;

  struct TImpl;

  void Store(const std::string& localPath, const std::string& name, std::int64_t size,
             const TByteProgress& progress) override;
  // Up to four connections at a time, more opened once the first has stored a file; one the
  // server refuses or loses leaves its file to the others.
  void StoreAll(const std::vector<TStoreJob>& jobs, const std::function<bool()>& proceed,
                const std::function<void(std::size_t job, std::int64_t sent)>& progress,
                const std::function<void(std::size_t job)>& done) override;
  void Remove(const std::string& name) override;
  std::vector<std::string> List() override;

 private:
  std::unique_ptr<TImpl> impl_;
};

// The private key the user's ssh tries first: ~/.ssh/id_ed25519, id_ecdsa or id_rsa, the first
// that exists; "" when there is none.
std::string DefaultPrivateKeyFile();

}  // namespace pagolin
