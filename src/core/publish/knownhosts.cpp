#include "core/publish/knownhosts.h"

#include <openssl/evp.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "core/platform/filenames.h"
#include "core/publish/sha256.h"

namespace pagolin {
namespace {

std::string Base64(std::string_view bytes) {
  std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int size =
      EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                      reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  text.resize(static_cast<size_t>(size));
  return text;
}

}  // namespace

std::string DefaultKnownHostsFile() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return {};
  return IncludeTrailingPathDelimiter(home) + ".ssh" + PathDelim + "known_hosts";
}

std::string HostKeyFingerprint(std::string_view keyBlob) {
  std::string text = Base64(Sha256(keyBlob));
  while (!text.empty() && text.back() == '=') text.pop_back();
  return "SHA256:" + text;
}

std::string HostKeyType(std::string_view keyBlob) {
  if (keyBlob.size() < 4) return {};
  const auto byte = [&](size_t i) { return static_cast<size_t>(static_cast<unsigned char>(keyBlob[i])); };
  const size_t length = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
  if (length == 0 || length > 64 || keyBlob.size() < 4 + length) return {};
  return std::string(keyBlob.substr(4, length));
}

std::string KnownHostsLine(const std::string& host, int port, std::string_view keyBlob) {
  const std::string name = port == 22 ? host : "[" + host + "]:" + std::to_string(port);
  return name + " " + HostKeyType(keyBlob) + " " + Base64(keyBlob);
}

bool AddKnownHost(const std::string& fileName, const std::string& line, std::string& error) {
  const std::string folder = ExtractFilePath(fileName);
  if (!folder.empty() && !DirectoryExists(folder) && ::mkdir(folder.c_str(), 0700) != 0) {
    error = "The folder \"" + PathText(folder) + "\" cannot be made: " + std::strerror(errno);
    return false;
  }
  std::string existing, ignored;
  const bool exists = FileExists(fileName) && ReadWholeFile(fileName, existing, ignored);
  const mode_t oldMask = ::umask(077);  // a new file is the user's alone
  std::ofstream out(fileName, std::ios::binary | std::ios::app);
  ::umask(oldMask);
  if (exists && !existing.empty() && existing.back() != '\n') out << '\n';
  out << line << '\n';
  out.close();
  if (!out) {
    error = "The known hosts file \"" + PathText(fileName) + "\" cannot be written: " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace pagolin
