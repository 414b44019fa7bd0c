#include "core/platform/credentials.h"

namespace pagolin {

std::optional<std::string> TMemoryCredentials::ReadPassword(const TCredentialKey& key) {
  const auto it = passwords_.find(key);
  if (it == passwords_.end()) return std::nullopt;
  return it->second;
}

void TMemoryCredentials::WritePassword(const TCredentialKey& key, const std::string& password) {
  passwords_[key] = password;
}

void TMemoryCredentials::DeletePassword(const TCredentialKey& key) { passwords_.erase(key); }

std::optional<std::string> TCredentialChain::ReadPassword(const TCredentialKey& key) {
  std::string problems, details;
  for (TCredentialStore* store : stores_) {
    try {
      if (std::optional<std::string> password = store->ReadPassword(key)) return password;
    } catch (const ECredentialError& e) {
      problems += (problems.empty() ? "" : "; ") + store->Where() + ": " + e.what();
      if (!e.Details().empty())
        details += (details.empty() ? "" : "\n") + store->Where() + ": " + e.Details();
    }
  }
  if (problems.empty()) return std::nullopt;
  throw ECredentialError(
      "No password for user " + key.User + " on " + key.Host + " could be found (" + problems + ")", details);
}

void TCredentialChain::WritePassword(const TCredentialKey& key, const std::string& password) {
  if (stores_.empty()) throw ECredentialError("There is no place to keep the password");
  stores_.front()->WritePassword(key, password);
}

void TCredentialChain::DeletePassword(const TCredentialKey& key) {
  if (!stores_.empty()) stores_.front()->DeletePassword(key);
}

std::string TCredentialChain::Where() const {
  std::string where;
  for (std::size_t i = 0; i < stores_.size(); ++i) {
    if (i > 0) where += i + 1 == stores_.size() ? " or " : ", ";
    where += stores_[i]->Where();
  }
  return where;
}

std::string RequirePassword(TCredentialStore& store, const TCredentialKey& key) {
  if (std::optional<std::string> password = store.ReadPassword(key)) return *password;
  throw ECredentialError("No password for user " + key.User + " on " + key.Host + " in " + store.Where());
}

}  // namespace pagolin
