// Credential stores: the .netrc reader and its checks, the passwords of one run, and the chain
// that asks several stores.
#include "core/platform/netrc.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/platform/credentials.h"

namespace pagolin {
namespace {

// "machine/login/password" per entry ("*" for the default entry), joined by blanks.
std::string Entries(std::string_view text) {
  std::string out;
  for (const TNetrcEntry& e : ParseNetrc(text))
    out += (out.empty() ? "" : " ") + (e.IsDefault ? "*" : e.Machine) + "/" + e.Login + "/" + e.Password;
  return out;
}

TEST(Netrc, ParsesEntriesTokensQuotesCommentsAndMacros) {
  const struct {
    const char* text;
    const char* entries;
  } cases[] = {
      {"machine news.example.net login jo password s3cret\n", "news.example.net/jo/s3cret"},
      {"machine a\n  login x\n\tpassword y\nmachine b login z password w", "a/x/y b/z/w"},
      {"machine a password p login l account acc", "a/l/p"},
      {"default login anon password guest\nmachine a login x password y", "*/anon/guest a/x/y"},
      {"machine a login x password \"two words \\\" and \\\\\"", "a/x/two words \" and \\"},
      {"# a comment\nmachine a login x # trailing\npassword y", "a/x/y"},
      {"macdef init\nmachine evil login x password y\n\nmachine a login l password p", "a/l/p"},
      {"login orphan password none\nmachine a login l", "a/l/"},
      {"machine a login x password", "a/x/"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Entries(c.text), c.entries) << c.text;
}

TEST(Netrc, FindsTheFirstEntryForHostAndUserElseTheDefault) {
  const auto entries = ParseNetrc(
      "machine News.Example.NET login jo password first\n"
      "machine news.example.net login jo password second\n"
      "machine news.example.net login ann password ann-pw\n"
      "default login jo password fallback\n");
  const struct {
    const char* host;
    const char* user;
    std::optional<std::string> password;
  } cases[] = {
      {"news.example.net", "jo", "first"},      {"news.example.net", "ann", "ann-pw"},
      {"other.example.net", "jo", "fallback"},  {"other.example.net", "ann", std::nullopt},
      {"news.example.net", "JO", std::nullopt},  // user names keep their case
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindNetrcPassword(entries, c.host, c.user), c.password) << c.host << c.user;
}

class NetrcFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/pagolin-netrc-XXXXXX";
    folder_ = mkdtemp(folder);
    file_ = folder_ + "/.netrc";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void Write(const std::string& text, mode_t mode) {
    std::ofstream(file_) << text;
    chmod(file_.c_str(), mode);
  }
  std::string folder_, file_;
};

TEST_F(NetrcFile, IsUsedOnlyWhenNoOtherUserMayReadOrChangeIt) {
  const TCredentialKey key{"news", "news.example.net", "jo"};
  const std::string refused = file_ +
                              " can be read or changed by other users, so its passwords are not used; "
                              "make it private with: chmod 600 " +
                              file_;
  for (const mode_t mode : {0600, 0400, 0640, 0604, 0620, 0602, 0660}) {
    Write("machine news.example.net login jo password s3cret\n", mode);
    TNetrcStore store(file_);
    if ((mode & 077) == 0) {
      EXPECT_EQ(store.ReadPassword(key), "s3cret") << std::oct << mode;
    } else {
      try {
        store.ReadPassword(key);
        ADD_FAILURE() << "read with mode " << std::oct << mode;
      } catch (const ECredentialError& e) {
        EXPECT_EQ(e.what(), refused);
      }
    }
  }
}

TEST_F(NetrcFile, AMissingFileHoldsNoPasswordAndTheFileIsNeverWritten) {
  TNetrcStore store(file_);
  const TCredentialKey key{"news", "h", "u"};
  EXPECT_EQ(store.ReadPassword(key), std::nullopt);
  EXPECT_THROW(store.WritePassword(key, "x"), ECredentialError);
  EXPECT_FALSE(std::filesystem::exists(file_));
  EXPECT_EQ(store.Where(), file_);
  EXPECT_EQ(TNetrcStore().Where(), "~/.netrc");
}

TEST_F(NetrcFile, AFileOfAnotherUserIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give the file away";
  Write("machine h login u password p\n", 0600);
  ASSERT_EQ(chown(file_.c_str(), 65534, 65534), 0);
  try {
    TNetrcStore(file_).ReadPassword({"news", "h", "u"});
    ADD_FAILURE() << "read";
  } catch (const ECredentialError& e) {
    EXPECT_EQ(e.what(), file_ + " belongs to another user, so its passwords are not used");
  }
}

// A store that cannot be read.
class TBrokenStore : public TCredentialStore {
 public:
  std::optional<std::string> ReadPassword(const TCredentialKey&) override {
    throw ECredentialError("locked");
  }
  void WritePassword(const TCredentialKey&, const std::string&) override { throw ECredentialError("locked"); }
  void DeletePassword(const TCredentialKey&) override { throw ECredentialError("locked"); }
  std::string Where() const override { return "the broken store"; }
};

TEST(CredentialChain, TheFirstStoreThatHasThePasswordGivesIt) {
  TMemoryCredentials run, lasting;
  TBrokenStore broken;
  const TCredentialKey key{"news", "h", "u"}, other{"upload", "h", "u"};
  lasting.WritePassword(key, "kept");
  TCredentialChain chain({&run, &broken, &lasting});
  EXPECT_EQ(chain.Where(), "this run, the broken store or this run");
  EXPECT_EQ(chain.ReadPassword(key), "kept");  // the broken store is passed over
  chain.WritePassword(key, "typed");           // into the first store
  EXPECT_EQ(run.ReadPassword(key), "typed");
  EXPECT_EQ(chain.ReadPassword(key), "typed");
  EXPECT_EQ(lasting.ReadPassword(key), "kept");
  try {
    chain.ReadPassword(other);  // another service: nobody has it, and one store failed
    ADD_FAILURE() << "found";
  } catch (const ECredentialError& e) {
    EXPECT_STREQ(e.what(), "No password for user u on h could be found (the broken store: locked)");
  }
  chain.DeletePassword(key);
  EXPECT_EQ(TCredentialChain({&run, &lasting}).ReadPassword(key), "kept");
  EXPECT_EQ(TCredentialChain({&run}).ReadPassword(other), std::nullopt);
  try {
    RequirePassword(run, other);
    ADD_FAILURE() << "found";
  } catch (const ECredentialError& e) {
    EXPECT_STREQ(e.what(), "No password for user u on h in this run");
  }
}

}  // namespace
}  // namespace pagolin
