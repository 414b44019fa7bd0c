// Image tags: "%IMAGE%" of product and link rows becomes an <IMG> tag for a file in the
// output folder, with its pixel size when it is a GIF and its size in KB in the Alt text.
#pragma once

#include <string>
#include <vector>

namespace pagolin {

// " WIDTH=w HEIGHT=h" from the GIF header (logical screen size, bytes 6 to 9, little-endian)
// when the extension is ".gif" in any case; "" for any other extension (the file is not
// opened), and "" when the file cannot be read or holds fewer than 10 bytes.
std::string GifSizeAttributes(const std::string& path);

// <IMG SRC="name" WIDTH=w HEIGHT=h BORDER=0 Alt="alt (nK)">: the file-name part of imageName
// (the table's text), the GIF size attributes and the size in KB of the file at imagePath (the
// same name in the file system; 0 for a missing file). alt is used as given (it is already
// HTML).
std::string ImageTag(const std::string& imageName, const std::string& imagePath, const std::string& alt);

// Replaces every "%IMAGE%" in text by the tag of the image imageName (a table field's text) in
// outputFolder, wrapped in <A HREF="link"> when link is not empty. An empty imageName names no
// image: the tag is empty and nothing is listed. Otherwise the image's path is appended to
// *fileList when fileList is given (the language 1 pass), whether or not the file exists.
std::string ReplaceImage(const std::string& text, const std::string& imageName, const std::string& alt,
                         const std::string& link, const std::string& outputFolder,
                         std::vector<std::string>* fileList);

}  // namespace pagolin
