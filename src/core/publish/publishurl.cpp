#include "core/publish/publishurl.h"

#include <charconv>

#include "core/platform/inifile.h"
#include "core/platform/percentencode.h"

namespace pagolin {
namespace {

int DefaultPort(TPublishProtocol protocol) { return protocol == TPublishProtocol::ppSftp ? 22 : 21; }

bool StartsWithNoCase(const std::string& text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameText(std::string_view(text).substr(0, prefix.size()), prefix);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

}  // namespace

TPublishUrl ParsePublishUrl(const std::string& text) {
  const auto fail = [&](const std::string& why) -> EPublishError {
    return EPublishError("The publish address \"" + text + "\" " + why);
  };
  TPublishUrl url;
  std::string rest;
  if (StartsWithNoCase(text, "sftp://")) {
    url.Protocol = TPublishProtocol::ppSftp;
    rest = text.substr(7);
  } else if (StartsWithNoCase(text, "ftps://")) {
    url.Protocol = TPublishProtocol::ppFtps;
    rest = text.substr(7);
  } else if (StartsWithNoCase(text, "ftp://")) {
    url.Protocol = TPublishProtocol::ppFtp;
    rest = text.substr(6);
  } else {
    throw fail("must begin with sftp://, ftps:// or ftp:// (for example sftp://example.com/var/www).");
  }
  if (rest.find_first_of("?#") != std::string::npos) throw fail("must not hold a query or a fragment.");
  if (rest.find_first_of(" \t\r\n") < rest.find('/')) throw fail("holds a blank in the server's name.");
  const size_t slash = rest.find('/');
  std::string authority = rest.substr(0, slash);
  const std::string path = slash == std::string::npos ? std::string() : rest.substr(slash);
  if (const size_t at = authority.rfind('@'); at != std::string::npos) {
    url.User = PercentDecoded(authority.substr(0, at));
    authority.erase(0, at + 1);
    if (url.User.find(':') != std::string::npos)
      throw fail("must not hold a password: the password is kept in the keyring or in ~/.netrc.");
  }
  url.Port = DefaultPort(url.Protocol);
  const size_t bracket = authority.rfind(']');
  const size_t colon = authority.rfind(':');
  if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
    const std::string port = authority.substr(colon + 1);
    int value = 0;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (port.empty() || ec != std::errc() || end != port.data() + port.size() || value < 1 || value > 65535)
      throw fail("has no valid port (1 to 65535) after the server's name.");
    url.Port = value;
    authority.erase(colon);
  }
  if (authority.empty()) throw fail("names no server.");
  url.Host = authority;
  url.Folder = PercentDecoded(path);
  while (!url.Folder.empty() && url.Folder.back() == '/') url.Folder.pop_back();
  return url;
}

std::string CurlUrl(const TPublishUrl& url, const std::string& name) {
  const char* scheme = url.Protocol == TPublishProtocol::ppSftp ? "sftp://" : "ftp://";
  return scheme + url.Host + ":" + std::to_string(url.Port) + PercentEncode(url.Folder, "/") + "/" +
         PercentEncode(name, "/");
}

std::string SftpCommandPath(const TPublishUrl& url, const std::string& name) {
  std::string path = url.Folder + "/" + name;
  // "/~/" is the home folder, where an SFTP session starts: relative paths lie there.
  if (path.rfind("/~/", 0) == 0) path.erase(0, 3);
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string ServerName(const TPublishUrl& url) {
  return url.Port == DefaultPort(url.Protocol) ? url.Host : url.Host + ":" + std::to_string(url.Port);
}

}  // namespace pagolin
