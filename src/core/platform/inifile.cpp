#include "core/platform/inifile.h"

#include <sys/stat.h>

#include <charconv>
#include <utility>

#include "core/platform/codepage.h"
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
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value,
             TIniValue form = TIniValue::ivTrimmed) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return false;
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = line.substr(eq + 1);
  if (form == TIniValue::ivTrimmed) value = Trim(value);
  return !key.empty();
}

std::string OneLine(std::string_view value, TIniValue form) {
  std::string s(form == TIniValue::ivTrimmed ? Trim(value) : value);
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
  text = TextFileToUtf8(text);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    AddLine(std::move(line));
    start = end + 1;
  }
}

size_t TIniFile::TNameHash::operator()(std::string_view name) const {
  size_t h = 14695981039346656037ull;  // FNV-1a over the upper-cased letters
  for (char c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return h;
}

void TIniFile::AddLine(std::string line) {
  std::string_view name, key, value;
  if (SectionName(line, name)) {
    sectionIndex_.emplace(std::string(name), sections_.size());  // the first of a name counts
    sections_.push_back({std::move(line), {}, {}});
    return;
  }
  TSection& section = sections_.back();
  if (sections_.size() > 1 && KeyLine(line, key, value))
    section.keys.emplace(std::string(key), section.lines.size());  // the first of a name counts
  section.lines.push_back(std::move(line));
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view section) const {
  const auto it = sectionIndex_.find(Trim(section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

TIniFile::TSection* TIniFile::FindSection(std::string_view section) {
  return const_cast<TSection*>(std::as_const(*this).FindSection(section));
}

long TIniFile::FindKey(const TSection& section, std::string_view key) {
  const auto it = section.keys.find(Trim(key));
  return it == section.keys.end() ? -1 : static_cast<long>(it->second);
}

bool TIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  const TSection* s = FindSection(section);
  return s && FindKey(*s, key) >= 0;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  const TSection* s = FindSection(section);
  if (!s) return keys;
  std::string_view k, v;
  for (const std::string& line : s->lines)
    if (KeyLine(line, k, v)) keys.emplace_back(k);
  return keys;
}

void TIniFile::VisitSection(std::string_view section,
                            const std::function<void(std::string_view key, std::string_view value)>& visit,
                            TIniValue form) const {
  const TSection* s = FindSection(section);
  if (!s) return;
  std::string_view k, v;
  for (const std::string& line : s->lines)
    if (KeyLine(line, k, v, form)) visit(k, v);
}

size_t TIniFile::LineCount() const {
  size_t count = sections_.size() - 1;  // the headers
  for (const TSection& s : sections_) count += s.lines.size();
  return count;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  const TSection* s = FindSection(section);
  const long line = s ? FindKey(*s, key) : -1;
  if (line < 0) return std::string(def);
  std::string_view k, v;
  KeyLine(s->lines[static_cast<size_t>(line)], k, v);
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

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value,
                           TIniValue form) {
  std::string line = std::string(Trim(key)) + "=" + OneLine(value, form);
  TSection* s = FindSection(section);
  if (!s) {
    // A new section goes at the end, set off from the one before by a blank line.
    const TSection& last = sections_.back();
    const std::string& lastLine = last.lines.empty() ? last.header : last.lines.back();
    if ((sections_.size() > 1 || !last.lines.empty()) && !Trim(lastLine).empty())
      sections_.back().lines.emplace_back();
    AddLine("[" + std::string(Trim(section)) + "]");
    AddLine(std::move(line));
    return;
  }
  const long k = FindKey(*s, key);
  if (k >= 0) {
    s->lines[static_cast<size_t>(k)] = std::move(line);
    return;
  }
  // After the section's last non-blank line, so the blank line before the next section stays;
  // only blank lines, which hold no keys, move down.
  size_t at = s->lines.size();
  while (at > 0 && Trim(s->lines[at - 1]).empty()) --at;
  s->keys.emplace(std::string(Trim(key)), at);
  s->lines.insert(s->lines.begin() + static_cast<long>(at), std::move(line));
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Text() const {
  std::string text;
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (i > 0) text.append(sections_[i].header).append("\r\n");
    for (const std::string& line : sections_[i].lines) text.append(line).append("\r\n");
  }
  return text;
}

bool TIniFile::UpdateFile(std::string& error) const {
  if (!readError_.empty()) {
    error = "The settings file could not be read, so it was not overwritten: " + readError_;
    return false;
  }
  return WriteFileAtomically(fileName_, Utf8ToTextFile(Text()), error);
}

}  // namespace pagolin
