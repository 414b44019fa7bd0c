#include "core/pages/imagetags.h"

#include "core/pages/fileinfo.h"
#include "core/platform/filenames.h"
#include "core/platform/replaceall.h"

namespace pagolin {

std::string GifSizeAttributes(const std::string& path) {
  std::string ext = ExtractFileExt(path);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (ext != ".GIF") return {};
  // Signature (6 bytes, not checked), logical screen width and height; the rest is not used.
  // Only a regular file is read: a pipe named like an image counts as missing.
  std::string header, error;
  if (!ReadFileStart(path, 10, header, error) || header.size() < 10) return {};
  auto byte = [&](size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(header[i])); };
  const unsigned width = byte(6) | (byte(7) << 8);
  const unsigned height = byte(8) | (byte(9) << 8);
  return " WIDTH=" + std::to_string(width) + " HEIGHT=" + std::to_string(height);
}

std::string ImageTag(const std::string& imageName, const std::string& imagePath, const std::string& alt) {
  std::string tag = "<IMG SRC=\"";
  tag += ExtractFileName(imageName);
  tag += '"';
  tag += GifSizeAttributes(imagePath);
  tag += " BORDER=0 Alt=\"";
  tag += alt;
  tag += " (";
  tag += std::to_string(GetFileSizeKB(imagePath));
  tag += "K)\">";
  return tag;
}

std::string ReplaceImage(const std::string& text, const std::string& imageName, const std::string& alt,
                         const std::string& link, const std::string& outputFolder,
                         std::vector<std::string>* fileList) {
  std::string tag;
  if (!imageName.empty()) {
    const std::string imagePath = outputFolder + TextPath(imageName);
    tag = ImageTag(imageName, imagePath, alt);
    if (!link.empty()) tag = "<A HREF=\"" + link + "\">" + tag + "</A>";
    if (fileList) fileList->push_back(imagePath);
  }
  return ReplaceAll(text, "%IMAGE%", tag);
}

}  // namespace pagolin
