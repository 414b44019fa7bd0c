// TKeychainStore: the desktop's keyring as a credential store (QtKeychain; on Linux the Secret
// Service, as gnome-keyring or KWallet offer it). Each call waits for the keyring's answer
// (the window stays alive meanwhile) up to a time limit; a keyring that is missing, locked or
// silent gives ECredentialError with the reason. Needs a running QCoreApplication.
#pragma once

#include <QString>

#include "core/platform/credentials.h"

namespace pagolin {

class TKeychainStore : public TCredentialStore {
 public:
  // Entries are filed under the service application + "/" + key.Service, with the key
  // user + "@" + host.
  explicit TKeychainStore(QString application, int timeoutMs = 30000);

  std::optional<std::string> ReadPassword(const TCredentialKey& key) override;
  void WritePassword(const TCredentialKey& key, const std::string& password) override;
  void DeletePassword(const TCredentialKey& key) override;
  std::string Where() const override { return "the keyring"; }

 private:
  QString application_;
  int timeoutMs_;
};

}  // namespace pagolin
