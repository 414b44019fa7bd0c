// The C library's iconv as the reference for code page conversions.
#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>

namespace pagolin::testing {

// text of codePage (437, 850 or 1252) as UTF-8, converted by iconv; throws when iconv cannot.
inline std::string IconvToUtf8(const std::string& text, int codePage) {
  const std::string name = "CP" + std::to_string(codePage);
  iconv_t cd = iconv_open("UTF-8", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv knows no " + name);
  std::string in = text, out(text.size() * 4 + 4, '\0');
  char* ip = in.data();
  char* op = out.data();
  size_t il = in.size(), ol = out.size();
  const size_t rc = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) throw std::runtime_error("iconv cannot convert from " + name);
  out.resize(out.size() - ol);
  return out;
}

}  // namespace pagolin::testing
