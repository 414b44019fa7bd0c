// Plain, obviously right versions of the text operations, for tests and the fuzzer to compare the
// real ones against.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagolin::test {

// ReplaceAll as the rule reads: replace the first occurrence, then search again from the start.
// Gives up (nullopt) after maxSteps replacements, since the rule need not end.
inline std::optional<std::string> SearchFromStart(std::string text, const std::string& placeholder,
                                                  const std::string& replacement, int maxSteps) {
  if (placeholder.empty()) return text;
  for (int step = 0;; ++step) {
    const size_t at = text.find(placeholder);
    if (at == std::string::npos) return text;
    if (step == maxSteps) return std::nullopt;
    text.replace(at, placeholder.size(), replacement);
  }
}

// A settings file kept as a plain list of lines, every lookup a scan from the top: the
// profile-file rules written the obvious way.
class TNaiveIni {
 public:
  explicit TNaiveIni(std::string_view text) {
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string line(text.substr(start, end - start));
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines_.push_back(line);
      start = end + 1;
    }
  }
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    const int s = FindSection(section);
    const int k = s < 0 ? -1 : FindKey(s, key);
    std::string_view name, value;
    if (k < 0 || !KeyLine(lines_[static_cast<size_t>(k)], name, value)) return std::string(def);
    return std::string(value);
  }
  std::vector<std::string> ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    const int s = FindSection(section);
    std::string_view name, value;
    for (int i = s + 1; s >= 0 && i < SectionEnd(s); ++i)
      if (KeyLine(lines_[static_cast<size_t>(i)], name, value)) keys.emplace_back(name);
    return keys;
  }
  void WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string line = std::string(Trim(key)) + "=" + std::string(Trim(value));
    const int s = FindSection(section);
    if (s < 0) {
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
    int at = SectionEnd(s);
    while (at - 1 > s && Trim(lines_[static_cast<size_t>(at - 1)]).empty()) --at;
    lines_.insert(lines_.begin() + at, line);
  }
  std::string Text() const {
    std::string text;
    for (const std::string& line : lines_) text += line + "\r\n";
    return text;
  }

 private:
  static std::string_view Trim(std::string_view s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
  }
  static bool Same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
      if (up(a[i]) != up(b[i])) return false;
    }
    return true;
  }
  static bool SectionName(std::string_view line, std::string_view& name) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return false;
    line.remove_prefix(1);
    name = Trim(line.substr(0, line.find(']')));
    return true;
  }
  static bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::string_view t = Trim(line);
    const size_t eq = line.find('=');
    if (t.empty() || t.front() == ';' || t.front() == '[' || eq == std::string_view::npos) return false;
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return !key.empty();
  }
  int FindSection(std::string_view section) const {
    std::string_view name;
    for (size_t i = 0; i < lines_.size(); ++i)
      if (SectionName(lines_[i], name) && Same(name, Trim(section))) return static_cast<int>(i);
    return -1;
  }
  int SectionEnd(int s) const {
    std::string_view name;
    size_t i = static_cast<size_t>(s) + 1;
    while (i < lines_.size() && !SectionName(lines_[i], name)) ++i;
    return static_cast<int>(i);
  }
  int FindKey(int s, std::string_view key) const {
    std::string_view name, value;
    for (int i = s + 1; i < SectionEnd(s); ++i)
      if (KeyLine(lines_[static_cast<size_t>(i)], name, value) && Same(name, Trim(key))) return i;
    return -1;
  }
  std::vector<std::string> lines_;
};

}  // namespace pagolin::test
