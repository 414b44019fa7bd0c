#include "core/pages/imagetags.h"

#include <fstream>

#include "core/pages/fileinfo.h"
#include "core/platform/replaceall.h"
#include "core/platform/filenames.h"

namespace pagolin {

std::string GifSizeAttributes(const std::string& path) {
  std::string ext = ExtractFileExt(path);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (ext != ".GIF") return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  // Signature (6 bytes, not checked), logical screen width and height, then the packed
  // fields, background and aspect bytes, which are not used.
  unsigned char header[13] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  if (in.gcount() < 10) return {};
  const unsigned width = header[6] | (header[7] << 8);
  const unsigned height = header[8] | (header[9] << 8);
  return " WIDTH=" + std::to_string(width) + " HEIGHT=" + std::to_string(height);
}

std::string ImageTag(const std::string& imagePath, const std::string& alt) {
  std::string tag = "<IMG SRC=\"";
  tag += ExtractFileName(imagePath);
  tag += '"';
  tag += GifSizeAttributes(imagePath);
  tag += " BORDER=0 Alt=\"";
  tag += alt;
  tag += " (";
  tag += std::to_string(GetFileSizeKB(imagePath));
  tag += "K)\">";
  return tag;
}

std::string ReplaceImage(const std::string& text, const std::string& imagePath,
                         const std::string& alt, const std::string& link,
                         const std::string& outputFolder, std::vector<std::string>* fileList) {
  std::string tag;
  if (imagePath != outputFolder) {
    tag = ImageTag(imagePath, alt);
    if (!link.empty()) tag = "<A HREF=\"" + link + "\">" + tag + "</A>";
    if (fileList) fileList->push_back(imagePath);
  }
  return ReplaceAll(text, "%IMAGE%", tag);
}

}  // namespace pagolin
