// SHA-256 digests, which tell whether a file changed since it was published and name an SSH
// host key by its fingerprint.
#pragma once

#include <string>
#include <string_view>

namespace pagolin {

// The 32 bytes of the digest of bytes.
std::string Sha256(std::string_view bytes);
// bytes as lower-case hex digits.
std::string HexText(std::string_view bytes);
// The digest of a file's bytes as 64 lower-case hex digits, read in pieces. Returns false with a
// reason that names the file when it cannot be read.
bool FileSha256(const std::string& fileName, std::string& hexDigest, std::string& error);

}  // namespace pagolin
