// TIniFile: a settings file in the standard INI format, with the behaviour people know from
// Windows profile files:
//   - every line the program does not change is kept, in its order (comments, blank lines,
//     unknown keys and garbage lines included);
//   - a key that exists is updated in place; a new key goes after the last line of its
//     section; a new section goes at the end of the file;
//   - section and key names are compared without regard to case; the first match counts;
//   - names and values are trimmed of blanks and tabs, except values read and written as
//     exact (TIniValue::ivExact): their bytes after the "=" count, leading and trailing blanks
//     included; lines before the first section and lines without "=" hold no keys;
//   - the file is written with CR LF line ends.
// The file is read once, by the constructor; writes change the copy in memory, and
// UpdateFile writes it whole (temporary file + rename) or not at all. Reading and writing a key
// take constant time on average, so a file of any size is read in time linear in its size.
// Texts are UTF-8. The file is Windows-1252 when that holds every character (so files of old
// sites stay as they were), otherwise UTF-8 after a byte order mark; reading takes either
// (TextFileToUtf8).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pagolin {

// Equal without regard to the case of the letters A to Z (how the file compares names).
bool SameText(std::string_view a, std::string_view b);

// How a value stands in its line: trimmed of blanks and tabs (what profile files do), or exactly
// the bytes after the "=" (a signature line, whose "-- " and indents must survive).
enum class TIniValue { ivTrimmed, ivExact };

class TIniFile {
 public:
  // Reads fileName when it exists. A missing file is an empty one; a file that exists but
  // cannot be read leaves the object empty and is reported by ReadError().
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }
  // Why the existing file could not be read; "" when it was read or did not exist.
  const std::string& ReadError() const { return readError_; }

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // The key names of the section, in file order, as spelled there (duplicates included).
  std::vector<std::string> ReadSection(std::string_view section) const;
  // Calls visit(key, value) for each key line of the section, in file order, duplicates
  // included, with the trimmed name as spelled and the value in the form asked for.
  void VisitSection(std::string_view section,
                    const std::function<void(std::string_view key, std::string_view value)>& visit,
                    TIniValue form = TIniValue::ivTrimmed) const;
  // The number of lines the file holds.
  size_t LineCount() const;

  // The trimmed value, or def when the key is missing (an empty value is a value).
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // A decimal integer with an optional sign; def when missing, not a number or out of range.
  int ReadInteger(std::string_view section, std::string_view key, int def) const;
  // True for any integer other than 0; def when missing or not a number.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  // Line breaks in a value would split the line: they are stored as blanks. An exact value is
  // written right after the "=" without trimming.
  void WriteString(std::string_view section, std::string_view key, std::string_view value,
                   TIniValue form = TIniValue::ivTrimmed);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"

  // The whole text as it would be written (CR LF line ends).
  std::string Text() const;
  // Writes the file whole through a temporary file. Returns false with a readable reason in
  // error when it cannot; the file on disk is then unchanged. A file that existed but could
  // not be read is never overwritten (its contents would be lost).
  bool UpdateFile(std::string& error) const;

 private:
  // A section: its header line and the lines up to the next one, with the first line of each
  // key name for the lookups. The lines before the first section form a section
  // without header, which holds no keys.
  // Names hash and compare without the case of A to Z, and can be looked up as views.
  struct TNameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const;
  };
  struct TNameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }
  };
  using TNameIndex = std::unordered_map<std::string, size_t, TNameHash, TNameEqual>;
  struct TSection {
    std::string header;
    std::vector<std::string> lines;  // without line ends
    TNameIndex keys;                 // trimmed name -> its first line
  };
  const TSection* FindSection(std::string_view section) const;
  TSection* FindSection(std::string_view section);
  // The index of the key's line in the section, or -1.
  static long FindKey(const TSection& section, std::string_view key);
  void AddLine(std::string line);

  std::string fileName_;
  std::string readError_;
  std::vector<TSection> sections_{1};  // [0]: the lines before the first section
  TNameIndex sectionIndex_;            // trimmed name -> the first section of that name
};

}  // namespace pagolin
