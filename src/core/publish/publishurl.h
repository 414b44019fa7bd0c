// The address of the web server's folder that the site is published to, as the Publish URL
// setting gives it: sftp://host[:port]/folder, ftps://host[:port]/folder (explicit TLS: the
// plain FTP port, then AUTH TLS) or ftp://host[:port]/folder (no encryption at all, only when
// chosen so). An sftp folder is a path on the server ("/~/" is the home folder); an ftp or ftps
// folder lies below the folder the login starts in.
#pragma once

#include <stdexcept>
#include <string>

namespace pagolin {

// A publish that cannot go on: a bad address, an unreachable or refusing server, a file that
// cannot be stored. The message says what happened and names the server or file.
class EPublishError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TPublishProtocol { ppSftp, ppFtps, ppFtp };

struct TPublishUrl {
  TPublishProtocol Protocol = TPublishProtocol::ppSftp;
  std::string Host;    // as written ("[::1]" keeps its brackets)
  int Port = 22;       // as written, or the protocol's own (22 for sftp, 21 for ftp and ftps)
  std::string User;    // "user@" of the address; "" when none
  std::string Folder;  // decoded, without a trailing "/" ("" for the top)
};

// Reads the setting. Throws EPublishError naming it when it is none of the forms above, holds
// a password ("user:password@": passwords stay out of the settings file), a query or a
// fragment, or a port outside 1 to 65535.
TPublishUrl ParsePublishUrl(const std::string& url);

// The libcurl address of a file of the folder (name: the file system's bytes), or of the folder
// itself with an empty name; ftps becomes ftp, whose TLS the connection demands.
std::string CurlUrl(const TPublishUrl& url, const std::string& name);

// The path of a file of the folder as an SFTP command takes it, quoted: the home folder's
// files relative to it, the others absolute.
std::string SftpCommandPath(const TPublishUrl& url, const std::string& name);

// "host" or "host:port" when the port is not the protocol's own, for messages.
std::string ServerName(const TPublishUrl& url);

}  // namespace pagolin
