#include "core/publish/publishsetup.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/pages/sitefiles.h"
#include "core/platform/filenames.h"
#include "core/platform/hooks.h"
#include "core/publish/knownhosts.h"

namespace pagolin {
namespace {

std::string LocalUserName() {
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name) return entry->pw_name;
  const char* name = std::getenv("USER");
  return name ? name : "";
}

}  // namespace

TPublishTarget PublishTarget(const TSettings& settings) {
  if (settings.PublishURL.find_first_not_of(" \t") == std::string::npos)
    throw EPublishError(
        "No address to publish to is set. Enter your web server's folder in the settings, on the tab "
        "\"Publish\" (for example sftp://example.com/var/www).");
  TPublishTarget target;
  target.Url = ParsePublishUrl(settings.PublishURL);
  target.Key = CurlUrl(target.Url, "");
  target.User = !settings.PublishUser.empty() ? settings.PublishUser
                : !target.Url.User.empty()    ? target.Url.User
                                              : LocalUserName();
  return target;
}

TCredentialKey PublishCredentialKey(const TPublishTarget& target) {
  return {kUploadService, target.Url.Host, target.User};
}

std::string PublishPassword(const TPublishTarget& target, TCredentialStore* credentials) {
  const TCredentialKey key = PublishCredentialKey(target);
  if (target.Url.Protocol != TPublishProtocol::ppSftp) {
    if (!credentials)
      throw ECredentialError("No password for user " + key.User + " on " + key.Host + " is kept");
    return RequirePassword(*credentials, key);
  }
  try {
    if (credentials)
      if (std::optional<std::string> password = credentials->ReadPassword(key)) return *password;
  } catch (const ECredentialError&) {
    // The keys and the agent may still log in; a refused login says so.
  }
  return {};
}

TConnectionOptions PublishConnection(const TPublishTarget& target, const std::string& password,
                                     bool askAboutNewHostKeys) {
  TConnectionOptions options;
  if (askAboutNewHostKeys) options.AcceptNewHostKey = AskAboutNewHostKey;
  options.User = target.User;
  options.Password = password;
  options.KnownHostsFile = DefaultKnownHostsFile();
  options.PrivateKeyFile = DefaultPrivateKeyFile();
  options.UseAgent = std::getenv("SSH_AUTH_SOCK") != nullptr;
  if (const char* authorities = std::getenv("SSL_CERT_FILE")) options.CAFile = authorities;
  return options;
}

bool AskAboutNewHostKey(const std::string& server, const std::string& fingerprint) {
  return MessageDlg(
             "The server " + server + " is not known yet. Its host key has the fingerprint\n\n" +
                 fingerprint +
                 "\n\nCompare it with the one the server's owner gives you. Trust this key and remember it?",
             TMsgDlgType::mtWarning, TMsgDlgButtons::mbYesNo) == TModalResult::mrYes;
}

TPublishPlan PreparePublish(TDataModule2& dataModule, const TSettings& settings, TPublishedFiles& records,
                            const TPublishTarget& target) {
  const std::vector<std::string> fileList = SiteFileList(dataModule, settings);
  return PlanPublish(PresentFiles(fileList, settings), fileList, records.ForUrl(target.Key),
                     settings.DeleteRemoved);
}

std::string NothingToPublishText(const TPublishPlan& plan) {
  if (plan.Unchanged == 0) return "Nothing to publish: the site has no files yet. Build the pages first.";
  return "Nothing to publish: the " + std::to_string(plan.Unchanged) +
         (plan.Unchanged == 1 ? " file of the site is" : " files of the site are") +
         " on the server as they are.";
}

std::string RemovalQuestion(const std::vector<std::string>& removals) {
  constexpr std::size_t kShown = 20;
  std::string text =
      "Delete " + std::to_string(removals.size()) + (removals.size() == 1 ? " file" : " files") +
      " from the web server? Earlier publishes put them there, and the site no longer lists them:\n";
  for (std::size_t i = 0; i < removals.size() && i < kShown; ++i) text += "\n" + PathText(removals[i]);
  if (removals.size() > kShown) text += "\n... and " + std::to_string(removals.size() - kShown) + " more";
  return text;
}

TConnectionCheck TestPublishConnection(TRemoteFolder& folder, const TPublishTarget& target) {
  const std::string where = "the folder \"" + PathText(target.Url.Folder.empty() ? "/" : target.Url.Folder) +
                            "\" on " + ServerName(target.Url);
  try {
    const std::size_t count = folder.List().size();
    return {true, "Connected as " + target.User + ": " + where + " holds " + std::to_string(count) +
                      (count == 1 ? " file." : " files.")};
  } catch (const ERemoteFolderMissing&) {
    return {true, "Connected as " + target.User + ": " + where +
                      " does not exist yet; the first publish makes it."};
  } catch (const EPublishError& e) {
    return {false, e.what()};
  }
}

}  // namespace pagolin
