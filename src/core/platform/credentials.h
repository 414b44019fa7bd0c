// Passwords kept outside the settings file. A store finds a password by a key: the service it
// is for ("news", "upload", ...), the server's host and the user name. The desktop's keyring
// is one store (the program's Qt side), ~/.netrc another (netrc.h), the passwords typed during
// one run a third (TMemoryCredentials). TCredentialChain asks several in turn.
//
// Host and User are texts of the program (UTF-8); a password is a byte string as the
// server takes it (UTF-8 when typed into the program). No store ever writes a password into a
// message: an error says which store failed and why.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace pagolin {

struct TCredentialKey {
  std::string Service;
  std::string Host;
  std::string User;

  bool operator<(const TCredentialKey& other) const {
    return std::tie(Service, Host, User) < std::tie(other.Service, other.Host, other.User);
  }
};

// A store that cannot be used (no keyring, a ~/.netrc that others can read, ...): the reason in
// words a person reads, and what the store's own software said, for the details of a message.
class ECredentialError : public std::runtime_error {
 public:
  explicit ECredentialError(const std::string& reason, std::string details = {})
      : std::runtime_error(reason), details_(std::move(details)) {}
  const std::string& Details() const { return details_; }

 private:
  std::string details_;
};

class TCredentialStore {
 public:
  virtual ~TCredentialStore() = default;

  // The password kept for key; nullopt when the store holds none for it. Throws
  // ECredentialError when the store cannot be read.
  virtual std::optional<std::string> ReadPassword(const TCredentialKey& key) = 0;
  // Keeps password for key in place of any before. Throws ECredentialError when the store
  // cannot take it (also a store that is only read, such as ~/.netrc).
  virtual void WritePassword(const TCredentialKey& key, const std::string& password) = 0;
  // Forgets the password of key; nothing when there is none. Throws ECredentialError.
  virtual void DeletePassword(const TCredentialKey& key) = 0;
  // Where the passwords are kept, for messages: "the keyring", "~/.netrc".
  virtual std::string Where() const = 0;
};

// The passwords of one run, in memory only.
class TMemoryCredentials : public TCredentialStore {
 public:
  std::optional<std::string> ReadPassword(const TCredentialKey& key) override;
  void WritePassword(const TCredentialKey& key, const std::string& password) override;
  void DeletePassword(const TCredentialKey& key) override;
  std::string Where() const override { return "this run"; }

 private:
  std::map<TCredentialKey, std::string> passwords_;
};

// Several stores asked in order (not owned; they outlive the chain). Writing and deleting go to
// the first store.
class TCredentialChain : public TCredentialStore {
 public:
  TCredentialChain() = default;
  explicit TCredentialChain(std::vector<TCredentialStore*> stores) : stores_(std::move(stores)) {}

  // The first password a store holds for key. Stores that cannot be read are passed over; when
  // no other store has the password, ECredentialError names each of them and its reason.
  std::optional<std::string> ReadPassword(const TCredentialKey& key) override;
  void WritePassword(const TCredentialKey& key, const std::string& password) override;
  void DeletePassword(const TCredentialKey& key) override;
  // "this run, the keyring or ~/.netrc".
  std::string Where() const override;

 private:
  std::vector<TCredentialStore*> stores_;
};

// The password of key from store, or ECredentialError saying that store holds none ("No
// password for user U on H in W") or why it could not be read.
std::string RequirePassword(TCredentialStore& store, const TCredentialKey& key);

}  // namespace pagolin
