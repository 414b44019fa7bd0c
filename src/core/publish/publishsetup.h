// Publishing as the settings describe it: the server's folder ([Publish] URL and User), how to
// connect to it, what the site has to send there, and the check behind "Test connection".
#pragma once

#include <string>

#include "core/platform/credentials.h"
#include "core/publish/curlfolder.h"
#include "core/publish/publisher.h"
#include "core/publish/publishurl.h"

namespace pagolin {

class TDataModule2;
class TSettings;

// The service of the upload password in the credential stores.
inline constexpr const char* kUploadService = "upload";

struct TPublishTarget {
  TPublishUrl Url;
  std::string Key;   // the folder's address as the records of earlier publishes are kept under it
  std::string User;  // the User setting, else the address's user, else the local user's name
};

// Throws EPublishError when no address is set or it is none of the forms (ParsePublishUrl).
TPublishTarget PublishTarget(const TSettings& settings);

// {"upload", the server's host, the user}: the key of the login's password in the stores.
TCredentialKey PublishCredentialKey(const TPublishTarget& target);

// The password of the target's login from credentials (null: none to ask). FTP and FTPS need
// one: ECredentialError when no store holds it or a store refused. SFTP also logs in with keys
// and the agent: "" when no store holds one, a store that cannot be read passed over.
std::string PublishPassword(const TPublishTarget& target, TCredentialStore* credentials);

// How to reach the target: the user's ~/.ssh/known_hosts and first private key and ssh agent
// for SFTP, the authorities of SSL_CERT_FILE (when set) or the system's for FTPS; password
// as given ("" for none). With askAboutNewHostKeys a host key not known yet is put to the
// person at the screen (AskAboutNewHostKey); without it, such a key is refused.
TConnectionOptions PublishConnection(const TPublishTarget& target, const std::string& password,
                                     bool askAboutNewHostKeys);

// Shows the server and the key's fingerprint and asks whether to trust it (MessageDlg);
// true for "Yes".
bool AskAboutNewHostKey(const std::string& server, const std::string& fingerprint);

// The site's file list (SiteFileList), its present files compared with what went to the target
// before, and the files to delete when the settings say so. Throws EPublishError (a file that
// cannot be read) and EDatabaseError (the tables, the records).
TPublishPlan PreparePublish(TDataModule2& dataModule, const TSettings& settings, TPublishedFiles& records,
                            const TPublishTarget& target);

// What a publish with nothing to do says.
std::string NothingToPublishText(const TPublishPlan& plan);

// The question before files are deleted from the server: how many, and their names (the first
// twenty, then how many more).
std::string RemovalQuestion(const std::vector<std::string>& removals);

// Connects, logs in and lists the folder, as a publish would begin. The text says what was
// found: the folder and its number of files, a folder that the first publish will make, or why
// it failed.
struct TConnectionCheck {
  bool Succeeded = false;
  std::string Text;
};
TConnectionCheck TestPublishConnection(TRemoteFolder& folder, const TPublishTarget& target);

}  // namespace pagolin
