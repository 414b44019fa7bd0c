// Python's own codecs as the reference for the text tests: each input is handed to a Python
// expression over the bytes b (one input a line, hex-encoded both ways), so that what the core
// encodes or decodes is compared with an implementation that shares no code with it.
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include <filesystem>

namespace pagolin::testing {

inline std::string ToHex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

inline std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

// expression: Python over b (the input's bytes) giving bytes; prelude: statements run first.
inline std::vector<std::string> PythonMap(const std::string& prelude, const std::string& expression,
                                          const std::vector<std::string>& inputs) {
  char folder[] = "/tmp/pagolin-pyref-XXXXXX";
  if (!::mkdtemp(folder)) throw std::runtime_error("no temporary folder");
  struct TRemove {
    std::string path;
    ~TRemove() { std::filesystem::remove_all(path); }
  } remove{folder};
  const std::string in = remove.path + "/in.txt", script = remove.path + "/map.py";
  {
    std::ofstream f(in, std::ios::binary);
    for (const std::string& s : inputs) f << ToHex(s) << "\n";
  }
  {
    std::ofstream f(script, std::ios::binary);
    f << "import sys, codecs, html, email, email.header, email.policy\n"
      << prelude << "\n"
      << "for line in open(sys.argv[1]):\n"
      << "    b = bytes.fromhex(line.strip())\n"
      << "    sys.stdout.write((" << expression << ").hex() + '\\n')\n";
  }
  FILE* p = ::popen(("python3 " + script + " " + in).c_str(), "r");
  if (!p) throw std::runtime_error("python3 cannot be started");
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  if (::pclose(p) != 0) throw std::runtime_error("the Python reference failed");
  std::vector<std::string> results;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) results.push_back(FromHex(line));
  return results;
}

}  // namespace pagolin::testing
