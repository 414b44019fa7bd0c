#include "core/news/headertext.h"

#include <algorithm>

#include "core/platform/codepage.h"

namespace pagolin {

namespace {

constexpr std::string_view kAnsiPrefix = "=?windows-1252?Q?";
constexpr std::string_view kUtf8Prefix = "=?UTF-8?Q?";
constexpr std::string_view kSuffix = "?=";
constexpr std::size_t kMaxEncodedWord = 75;
constexpr std::size_t kMaxLine = 76;

bool IsHigh(char c) { return static_cast<unsigned char>(c) > 127; }

// Characters that may stand for themselves in an encoded word in any header (phrase rules).
bool IsLiteral(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' || c == '*' ||
         c == '+' || c == '-' || c == '/';
}

// The Q form of each character of text (a byte of Windows-1252, or all the bytes of a UTF-8
// character), one piece per character, so that encoded words are split only between whole
// characters.
std::vector<std::string> QPieces(std::string_view text, bool utf8) {
  static const char* hex = "0123456789ABCDEF";
  std::vector<std::string> pieces;
  pieces.reserve(text.size());
  for (char c : text) {
    if (utf8 && (static_cast<unsigned char>(c) & 0xC0) == 0x80 && !pieces.empty()) {
      const auto b = static_cast<unsigned char>(c);
      pieces.back() += std::string{'=', hex[b >> 4], hex[b & 15]};
    } else if (c == ' ') {
      pieces.emplace_back("_");
    } else if (IsLiteral(c)) {
      pieces.emplace_back(1, c);
    } else {
      const auto b = static_cast<unsigned char>(c);
      pieces.push_back(std::string{'=', hex[b >> 4], hex[b & 15]});
    }
  }
  return pieces;
}

std::vector<std::string> EncodedWords(std::string_view text, bool utf8) {
  const std::string_view prefix = utf8 ? kUtf8Prefix : kAnsiPrefix;
  const std::size_t room = kMaxEncodedWord - prefix.size() - kSuffix.size();
  std::vector<std::string> words;
  std::string current;
  for (const std::string& piece : QPieces(text, utf8)) {
    if (current.size() + piece.size() > room) {
      words.push_back(std::string(prefix) + current + std::string(kSuffix));
      current.clear();
    }
    current += piece;
  }
  if (!current.empty()) words.push_back(std::string(prefix) + current + std::string(kSuffix));
  return words;
}

std::vector<std::string_view> SplitBlanks(std::string_view value) {
  std::vector<std::string_view> tokens;
  std::size_t start = 0;
  for (;;) {
    const std::size_t blank = value.find(' ', start);
    if (blank == std::string_view::npos) {
      tokens.push_back(value.substr(start));
      return tokens;
    }
    tokens.push_back(value.substr(start, blank - start));
    start = blank + 1;
  }
}

// The atoms joined by blanks, folded (CR LF and a blank) before an atom that would pass the
// line length; nameLength counts the first line.
std::string JoinFolded(const std::vector<std::string>& atoms, std::size_t nameLength) {
  std::string out;
  std::size_t lineLength = nameLength;
  for (std::size_t k = 0; k < atoms.size(); ++k) {
    if (k > 0) {
      if (lineLength + 1 + atoms[k].size() > kMaxLine && lineLength > 1) {
        out += "\r\n ";
        lineLength = 1;
      } else {
        out += ' ';
        ++lineLength;
      }
    }
    out += atoms[k];
    lineLength += atoms[k].size();
  }
  return out;
}

bool IsSpecial(char c) { return std::string_view("()<>[]:;@\\,.\"").find(c) != std::string_view::npos; }

}  // namespace

std::string CleanHeaderValue(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

bool HasHighBytes(std::string_view text) {
  for (char c : text) {
    if (IsHigh(c)) return true;
  }
  return false;
}

bool HasHighBytes(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (HasHighBytes(line)) return true;
  }
  return false;
}

std::string EncodeHeaderValue(std::string_view value, std::size_t nameLength) {
  if (!HasHighBytes(value)) return std::string(value);
  // Words in the code page when it holds the whole value, as articles have always had them.
  const bool utf8 = !FitsAnsi(value);
  const std::string text = utf8 ? ValidUtf8(value) : Utf8ToAnsi(value);
  const std::vector<std::string_view> tokens = SplitBlanks(text);
  // The atoms of the result, each to be separated from the next by a blank or a fold. Between
  // two encoded words a reader drops the blank, so a run of words with high bytes (and the
  // blanks inside it) is encoded as one text.
  std::vector<std::string> atoms;
  std::size_t i = 0;
  while (i < tokens.size()) {
    if (!HasHighBytes(tokens[i])) {
      atoms.emplace_back(tokens[i]);
      ++i;
      continue;
    }
    std::size_t last = i;  // the run ends at the last word with high bytes before a plain word
    for (std::size_t j = i + 1; j < tokens.size(); ++j) {
      if (HasHighBytes(tokens[j])) {
        last = j;
      } else if (!tokens[j].empty()) {
        break;
      }
    }
    std::string run(tokens[i]);
    for (std::size_t j = i + 1; j <= last; ++j) {
      run += ' ';
      run += tokens[j];
    }
    for (std::string& word : EncodedWords(run, utf8)) atoms.push_back(std::move(word));
    i = last + 1;
  }
  return JoinFolded(atoms, nameLength);
}

std::string MailboxHeaderValue(std::string_view name, std::string_view address, std::size_t nameLength) {
  if (name.empty()) return EncodeHeaderValue(address, nameLength);
  std::vector<std::string> atoms;
  if (HasHighBytes(name)) {
    const bool utf8 = !FitsAnsi(name);
    atoms = EncodedWords(utf8 ? ValidUtf8(name) : Utf8ToAnsi(name), utf8);
  } else if (std::any_of(name.begin(), name.end(), IsSpecial)) {
    std::string quoted = "\"";
    for (char c : name) {
      if (c == '"' || c == '\\') quoted += '\\';
      quoted += c;
    }
    atoms.push_back(quoted + "\"");
  } else {
    for (std::string_view word : SplitBlanks(name))
      if (!word.empty()) atoms.emplace_back(word);
  }
  atoms.push_back("<" + std::string(address) + ">");
  return JoinFolded(atoms, nameLength);
}

std::string BodyCharset(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (!FitsAnsi(line)) return "UTF-8";
  }
  return "windows-1252";
}

std::string BodyInCharset(std::string_view line, std::string_view charset) {
  if (charset == "windows-1252") return Utf8ToAnsi(line);
  return ValidUtf8(line);
}

}  // namespace pagolin
