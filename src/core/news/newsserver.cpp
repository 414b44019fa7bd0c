#include "core/news/newsserver.h"

#include "core/data/settings.h"
#include "core/news/newspost.h"
#include "core/platform/filenames.h"
#include "core/platform/inifile.h"

namespace pagolin {

TNewsSecurity NewsSecurity(const std::string& security) {
  if (SameText(security, "None")) return TNewsSecurity::nsNone;
  if (SameText(security, "STARTTLS")) return TNewsSecurity::nsStartTls;
  if (SameText(security, "TLS")) return TNewsSecurity::nsTls;
  throw ETcpIpError(
      "The security of the news server connection is not set: choose None, STARTTLS or TLS "
      "in the settings");
}

std::string PlainLoginWarning(const std::string& security, const std::string& user) {
  if (user.empty() || !SameText(security, "None")) return {};
  return "With security \"None\" the news server's password is sent unencrypted; choose STARTTLS or TLS "
         "when the server offers them.";
}

TCredentialKey NewsCredentialKey(const TSettings& settings) {
  return {kNewsService, settings.Server, settings.User};
}

void ConfigureNewsClient(T_NNTP& nntp, const TSettings& settings) {
  nntp.Security = NewsSecurity(settings.Security);
  nntp.Hostname = settings.Server;
  nntp.SetPort(static_cast<std::uint16_t>(settings.Port));
  nntp.CAFile = settings.CAFilePath();
  nntp.User = settings.User;
}

std::string NewsPassword(const TSettings& settings, TCredentialStore* credentials) {
  if (settings.User.empty()) return {};
  const TCredentialKey key = NewsCredentialKey(settings);
  if (credentials == nullptr)
    throw ECredentialError("No password for user " + key.User + " on " + key.Host + " is at hand");
  return RequirePassword(*credentials, key);
}

TConnectionTest TestNewsServer(T_NNTP& nntp) {
  TConnectionTest test;
  std::vector<std::string>& lines = test.Transcript;
  const TTraceProc before = nntp.OnTrace;
  nntp.OnTrace = [&](const std::string& text, TTraceLevel level) {
    if (level == TTraceLevel::tlCommand) lines.push_back("> " + text);
    if (level == TTraceLevel::tlReply) lines.push_back("< " + text);
  };
  try {
    nntp.Login();
    if (nntp.TlsActive()) {
      lines.push_back("Encrypted with " + nntp.TlsDescription() + "; the certificate is trusted and names " +
                      nntp.Hostname);
    }
    if (!nntp.User.empty()) lines.push_back("Logged in as " + nntp.User);
    // What the server offers now; a server without CAPABILITIES is asked nothing more.
    nntp.SendCommand("CAPABILITIES");
    std::string summary;
    try {
      nntp.ReadResponse();
      bool canPost = false;
      for (std::string line; !nntp.Eof(nntp.Socket());) {
        nntp.ReadLine(nntp.Socket(), line);
        if (line == ".") break;
        canPost = canPost || line == "POST";
      }
      summary = canPost ? "The news server accepts postings."
                        : "The news server does not offer posting (to this login).";
    } catch (const EProtocolError& e) {
      if (e.ErrorCode == T_NNTP::kNoStatus) throw;
    }
    nntp.Logout();
    if (!summary.empty()) lines.push_back(summary);
    test.Succeeded = true;
  } catch (const ETcpIpError& e) {
    test.Failure = PostingFailureReason(e);
    if (nntp.Socket() != kNoSocket) {
      try {
        nntp.Logout();
      } catch (const ETcpIpError&) {
      }
    }
  }
  nntp.OnTrace = before;
  return test;
}

}  // namespace pagolin
