#include "core/platform/inifile.h"

#include <sys/stat.h>

#include <charconv>

#include "core/platform/filenames.h"

namespace pagolin {
namespace {

std::string_view Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

namespace {

// The name of a section line ("[name]"), or false when the line is none.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  line.remove_prefix(1);
  const size_t close = line.find(']');
  name = Trim(close == std::string_view::npos ? line : line.substr(0, close));
  return true;
}

// The key and value of a key line, or false when the line holds none (comments, garbage).
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return false;
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return !key.empty();
}

std::string OneLine(std::string_view value) {
  std::string s(Trim(value));
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {
  struct stat st {};
  if (::stat(fileName_.c_str(), &st) != 0) return;  // no file yet: empty
  std::string text, error;
  if (S_ISDIR(st.st_mode)) {
    readError_ = "\"" + fileName_ + "\" is a folder, not a settings file.";
    return;
  }
  if (!ReadWholeFile(fileName_, text, error)) {
    readError_ = error;
    return;
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

int TIniFile::FindSection(std::string_view section) const {
  std::string_view name;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (SectionName(lines_[i], name) && SameText(name, Trim(section))) return static_cast<int>(i);
  return -1;
}

int TIniFile::SectionEnd(int sectionLine) const {
  std::string_view name;
  size_t i = static_cast<size_t>(sectionLine) + 1;
  while (i < lines_.size() && !SectionName(lines_[i], name)) ++i;
  return static_cast<int>(i);
}

int TIniFile::FindKey(int sectionLine, std::string_view key) const {
  const int end = SectionEnd(sectionLine);
  std::string_view k, v;
  for (int i = sectionLine + 1; i < end; ++i)
    if (KeyLine(lines_[static_cast<size_t>(i)], k, v) && SameText(k, Trim(key))) return i;
  return -1;
}

bool TIniFile::SectionExists(std::string_view section) const { return FindSection(section) >= 0; }

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  const int s = FindSection(section);
  return s >= 0 && FindKey(s, key) >= 0;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  const int s = FindSection(section);
  if (s < 0) return keys;
  const int end = SectionEnd(s);
  std::string_view k, v;
  for (int i = s + 1; i < end; ++i)
    if (KeyLine(lines_[static_cast<size_t>(i)], k, v)) keys.emplace_back(k);
  return keys;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const {
  const int s = FindSection(section);
  const int line = s < 0 ? -1 : FindKey(s, key);
  if (line < 0) return std::string(def);
  std::string_view k, v;
  KeyLine(lines_[static_cast<size_t>(line)], k, v);
  return std::string(v);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
  const std::string text = ReadString(section, key, "");
  std::string_view s = text;
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return def;
  return value;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string line = std::string(Trim(key)) + "=" + OneLine(value);
  int s = FindSection(section);
  if (s < 0) {
    // A new section goes at the end, set off from the one before by a blank line.
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(Trim(section)) + "]");
    lines_.push_back(line);
    return;
  }
  const int k = FindKey(s, key);
  if (k >= 0) {
    lines_[static_cast<size_t>(k)] = line;
    return;
  }
  // After the section's last non-blank line, so the blank line before the next section stays.
  int at = SectionEnd(s);
  while (at - 1 > s && Trim(lines_[static_cast<size_t>(at - 1)]).empty()) --at;
  lines_.insert(lines_.begin() + at, line);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool TIniFile::UpdateFile(std::string& error) const {
  if (!readError_.empty()) {
    error = "The settings file could not be read, so it was not overwritten: " + readError_;
    return false;
  }
  return WriteFileAtomically(fileName_, Text(), error);
}

}  // namespace pagolin
