#include "core/publish/sha256.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/platform/filenames.h"

namespace pagolin {
namespace {

struct TDigestFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct TFileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string Sha256(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
  return std::string(reinterpret_cast<const char*>(digest), size);
}

std::string HexText(std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    text += kDigits[c >> 4];
    text += kDigits[c & 15];
  }
  return text;
}

bool FileSha256(const std::string& fileName, std::string& hexDigest, std::string& error) {
  const std::unique_ptr<std::FILE, TFileClose> file(std::fopen(fileName.c_str(), "rb"));
  const std::unique_ptr<EVP_MD_CTX, TDigestFree> context(EVP_MD_CTX_new());
  if (!file) {
    error = "\"" + PathText(fileName) + "\" cannot be read: " + std::strerror(errno);
    return false;
  }
  EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr);
  char buffer[1 << 16];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
    EVP_DigestUpdate(context.get(), buffer, got);
  if (std::ferror(file.get())) {
    error = "\"" + PathText(fileName) + "\" cannot be read: " + std::strerror(errno);
    return false;
  }
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_DigestFinal_ex(context.get(), digest, &size);
  hexDigest = HexText(std::string_view(reinterpret_cast<const char*>(digest), size));
  return true;
}

}  // namespace pagolin
