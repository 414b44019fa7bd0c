// The connection to the news server that the settings describe (server, port, security, CA
// file, user), the password of its login, and the check behind "Test connection".
#pragma once

#include <string>
#include <vector>

#include "core/news/nntp.h"
#include "core/platform/credentials.h"

namespace pagolin {

class TSettings;

// The service of the news server's password in the credential stores.
inline constexpr const char* kNewsService = "news";

// The news security choice of the settings; ETcpIpError naming the setting when the text is
// none of the choices (a settings file written by hand), so that a login is never sent
// unencrypted by mistake.
TNewsSecurity NewsSecurity(const std::string& security);

// The warning for a login without encryption (security "None" and a user name): the password
// would cross the network as plain text. "" when there is nothing to warn about.
std::string PlainLoginWarning(const std::string& security, const std::string& user);

// {"news", server, user} of the settings.
TCredentialKey NewsCredentialKey(const TSettings& settings);

// Sets nntp up for the server of the settings: host, port, security, CA file and user; the
// password is left alone. Throws ETcpIpError as NewsSecurity.
void ConfigureNewsClient(T_NNTP& nntp, const TSettings& settings);

// The password of the news server's login from credentials (null: none to ask); "" when the
// settings name no user. Throws ECredentialError when no store has it or a store refused.
std::string NewsPassword(const TSettings& settings, TCredentialStore* credentials);

// What a test of the connection found.
struct TConnectionTest {
  bool Succeeded = false;
  std::string Failure;                  // why it failed, as a posting's reason would say
  std::vector<std::string> Transcript;  // "> command" and "< answer" lines, then a summary
};

// Connects as a posting would (TLS, STARTTLS, login), asks the server what it offers, and says
// goodbye, without posting. The password never appears in the transcript.
TConnectionTest TestNewsServer(T_NNTP& nntp);

}  // namespace pagolin
