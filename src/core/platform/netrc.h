// ~/.netrc as a credential store for runs without a keyring (scripts, schedulers, servers):
// entries "machine HOST login USER password PASS", and "default" for any other host. The file
// is only read. It is refused when it belongs to another user or when users other than its
// owner may read or write it, since it then gives the passwords away.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/credentials.h"

namespace pagolin {

struct TNetrcEntry {
  std::string Machine;  // "" for the default entry
  bool IsDefault = false;
  std::string Login;
  std::string Password;
};

// The entries of a .netrc text, in order. Tokens are separated by blanks, tabs and line breaks;
// a token may be quoted ("two words", with \" and \\ inside); "#" starts a comment to the end
// of the line; "macdef NAME" and its lines up to an empty line are passed over, as are
// "account" values. A keyword without its value ends the text.
std::vector<TNetrcEntry> ParseNetrc(std::string_view text);

// The password of the first entry for host (compared without case) whose login is user; the
// default entry when no machine entry names host. nullopt when there is none.
std::optional<std::string> FindNetrcPassword(const std::vector<TNetrcEntry>& entries, std::string_view host,
                                             std::string_view user);

class TNetrcStore : public TCredentialStore {
 public:
  // fileName "" means ~/.netrc: in $HOME, or the home folder of the user when HOME is unset.
  explicit TNetrcStore(std::string fileName = {});

  const std::string& FileName() const { return fileName_; }

  // Ignores key.Service (a .netrc knows hosts only). A missing file holds no password.
  // Throws ECredentialError when the file is refused (owner, permissions) or cannot be read.
  std::optional<std::string> ReadPassword(const TCredentialKey& key) override;
  // The file is the user's to edit: both throw ECredentialError.
  void WritePassword(const TCredentialKey& key, const std::string& password) override;
  void DeletePassword(const TCredentialKey& key) override;
  // "~/.netrc", or the file name when it is another file.
  std::string Where() const override;

  // The .netrc of the user running the program.
  static std::string DefaultFileName();

 private:
  std::string fileName_;
  bool isDefault_;
};

}  // namespace pagolin
