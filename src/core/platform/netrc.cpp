#include "core/platform/netrc.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/platform/filenames.h"
#include "core/platform/inifile.h"

namespace pagolin {

namespace {

// Splits a .netrc text into tokens; macro definitions and comments are dropped here.
class TNetrcTokens {
 public:
  explicit TNetrcTokens(std::string_view text) : text_(text) {}

  // The next token; false at the end of the text.
  bool Next(std::string& token) {
    token.clear();
    for (;;) {
      SkipBlanks();
      if (at_ >= text_.size()) return false;
      if (text_[at_] != '#') break;
      SkipLine();
    }
    if (text_[at_] == '"') {
      for (++at_; at_ < text_.size() && text_[at_] != '"'; ++at_) {
        if (text_[at_] == '\\' && at_ + 1 < text_.size()) ++at_;
        token += text_[at_];
      }
      ++at_;  // the closing quote
      return true;
    }
    while (at_ < text_.size() && !IsBlank(text_[at_])) token += text_[at_++];
    return true;
  }

  // Passes over the lines of a macro definition: up to and including the first empty line.
  void SkipMacro() {
    SkipLine();
    while (at_ < text_.size()) {
      const std::size_t end = text_.find('\n', at_);
      const std::string_view line =
          text_.substr(at_, end == std::string_view::npos ? std::string_view::npos : end - at_);
      at_ = end == std::string_view::npos ? text_.size() : end + 1;
      if (line.find_first_not_of("\r") == std::string_view::npos) return;
    }
  }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
  void SkipBlanks() {
    while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
  }
  void SkipLine() {
    const std::size_t end = text_.find('\n', at_);
    at_ = end == std::string_view::npos ? text_.size() : end + 1;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

std::string ReadWhole(const std::string& fileName, bool& ok) {
  std::ifstream in(fileName, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  ok = !in.bad() && in.is_open();
  return text.str();
}

}  // namespace

std::vector<TNetrcEntry> ParseNetrc(std::string_view text) {
  std::vector<TNetrcEntry> entries;
  TNetrcTokens tokens(text);
  std::string token, value;
  while (tokens.Next(token)) {
    if (token == "machine") {
      if (!tokens.Next(value)) break;
      entries.push_back({value, false, {}, {}});
    } else if (token == "default") {
      entries.push_back({{}, true, {}, {}});
    } else if (token == "macdef") {
      if (!tokens.Next(value)) break;
      tokens.SkipMacro();
    } else if (token == "login" || token == "password" || token == "account") {
      if (!tokens.Next(value)) break;
      if (entries.empty() || token == "account") continue;  // a value outside an entry is no one's
      (token == "login" ? entries.back().Login : entries.back().Password) = value;
    }
    // Anything else is a word this reader does not know; it is passed over.
  }
  return entries;
}

std::optional<std::string> FindNetrcPassword(const std::vector<TNetrcEntry>& entries, std::string_view host,
                                             std::string_view user) {
  for (const TNetrcEntry& entry : entries) {
    if (!entry.IsDefault && SameText(entry.Machine, host) && entry.Login == user) return entry.Password;
  }
  for (const TNetrcEntry& entry : entries) {
    if (entry.IsDefault && entry.Login == user) return entry.Password;
  }
  return std::nullopt;
}

TNetrcStore::TNetrcStore(std::string fileName)
    : fileName_(fileName.empty() ? DefaultFileName() : std::move(fileName)),
      isDefault_(fileName_ == DefaultFileName()) {}

std::string TNetrcStore::DefaultFileName() {
  const char* home = std::getenv("HOME");
  std::string folder = home != nullptr ? home : "";
  if (folder.empty()) {
    if (const passwd* user = getpwuid(getuid())) folder = user->pw_dir;
  }
  return IncludeTrailingPathDelimiter(folder) + ".netrc";
}

std::string TNetrcStore::Where() const { return isDefault_ ? "~/.netrc" : fileName_; }

std::optional<std::string> TNetrcStore::ReadPassword(const TCredentialKey& key) {
  struct stat info {};
  if (stat(fileName_.c_str(), &info) != 0) return std::nullopt;  // no file, no password
  const std::string where = Where();
  if (info.st_uid != geteuid())
    throw ECredentialError(where + " belongs to another user, so its passwords are not used");
  if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    throw ECredentialError(where +
                           " can be read or changed by other users, so its passwords are not used; "
                           "make it private with: chmod 600 " +
                           where);
  }
  bool ok = false;
  const std::string text = ReadWhole(fileName_, ok);
  if (!ok) throw ECredentialError(where + " cannot be read");
  // The file is written in UTF-8 like any other of the user's.
  return FindNetrcPassword(ParseNetrc(text), key.Host, key.User);
}

void TNetrcStore::WritePassword(const TCredentialKey&, const std::string&) {
  throw ECredentialError(Where() + " is not changed by this program; add the password to it yourself");
}

void TNetrcStore::DeletePassword(const TCredentialKey&) {
  throw ECredentialError(Where() + " is not changed by this program; remove the password from it yourself");
}

}  // namespace pagolin
