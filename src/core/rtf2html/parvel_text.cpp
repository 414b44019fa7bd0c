#include "core/rtf2html/parvel_text.h"

#include "core/rtf2html/parvel.h"

#include <array>

namespace pagolin {
namespace parvel {
namespace {

// Latin-1 entity names for 160..255, with "die" at 168 as the pages have always had it.
constexpr std::array<const char*, 96> kEntities = {
    "&nbsp;",   "&iexcl;",  "&cent;",   "&pound;",  "&curren;", "&yen;",    "&brvbar;",
    "&sect;",   "&die;",    "&copy;",   "&ordf;",   "&laquo;",  "&not;",    "&shy;",
    "&reg;",    "&macr;",   "&deg;",    "&plusmn;", "&sup2;",   "&sup3;",   "&acute;",
    "&micro;",  "&para;",   "&middot;", "&cedil;",  "&sup1;",   "&ordm;",   "&raquo;",
    "&frac14;", "&frac12;", "&frac34;", "&iquest;", "&Agrave;", "&Aacute;", "&Acirc;",
    "&Atilde;", "&Auml;",   "&Aring;",  "&AElig;",  "&Ccedil;", "&Egrave;", "&Eacute;",
    "&Ecirc;",  "&Euml;",   "&Igrave;", "&Iacute;", "&Icirc;",  "&Iuml;",   "&ETH;",
    "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;",  "&Otilde;", "&Ouml;",   "&times;",
    "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;",  "&Uuml;",   "&Yacute;", "&THORN;",
    "&szlig;",  "&agrave;", "&aacute;", "&acirc;",  "&atilde;", "&auml;",   "&aring;",
    "&aelig;",  "&ccedil;", "&egrave;", "&eacute;", "&ecirc;",  "&euml;",   "&igrave;",
    "&iacute;", "&icirc;",  "&iuml;",   "&eth;",    "&ntilde;", "&ograve;", "&oacute;",
    "&ocirc;",  "&otilde;", "&ouml;",   "&divide;", "&oslash;", "&ugrave;", "&uacute;",
    "&ucirc;",  "&uuml;",   "&yacute;", "&thorn;",  "&yuml;",
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

const char* EntityName(int value) {
  if (value < 160 || value > 255) return nullptr;
  return kEntities[static_cast<std::size_t>(value - 160)];
}

std::optional<std::int32_t> ParseInt(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Accumulate as a negative number so that the most negative 32-bit value fits too.
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 - (c - '0');
    if (value < INT32_MIN) return std::nullopt;
  }
  if (!negative) {
    if (-value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(-value);
  }
  return static_cast<std::int32_t>(value);
}

std::string ColorComponent(std::int32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto bits = static_cast<std::uint32_t>(value);
  std::string hex;
  do {
    hex.insert(hex.begin(), kDigits[bits & 0xF]);
    bits >>= 4;
  } while (bits != 0);
  if (hex.size() == 1) hex.insert(hex.begin(), '0');
  return hex;
}

}  // namespace parvel

int TParvel::HexToByte(const std::string& hex) {
  if (hex.size() != 2) return -1;
  const int high = parvel::HexDigit(hex[0]);
  const int low = parvel::HexDigit(hex[1]);
  if (high < 0 || low < 0) return -1;
  return high * 16 + low;
}

std::string TParvel::EncodeTitle(const std::string& title) {
  static const std::pair<std::string, std::string> kReplacements[] = {
      {"<", "&lt;"},         {">", "&gt;"},         {"\xA9", "&copy;"}, {"\xC4", "&Auml;"},
      {"\xE4", "&auml;"},    {"\xD6", "&Ouml;"},    {"\xF6", "&ouml;"}, {"\xDC", "&Uuml;"},
      {"\xFC", "&uuml;"},    {"\xDF", "&szlig;"},
  };
  std::string result = title;
  for (const auto& [search, replacement] : kReplacements)
    result = ReplaceAll(result, search, replacement);
  return result;
}

namespace {

// Every occurrence in Text, left to right; inserted text is not searched again.
std::string ReplaceEachOnce(const std::string& Text, const std::string& Search,
                            const std::string& Replacement) {
  std::string out;
  out.reserve(Text.size());
  std::size_t from = 0;
  for (std::size_t at; (at = Text.find(Search, from)) != std::string::npos;
       from = at + Search.size())
    out.append(Text, from, at - from).append(Replacement);
  out.append(Text, from, std::string::npos);
  return out;
}

}  // namespace

std::string TParvel::ReplaceAll(const std::string& Text, const std::string& Search,
                                const std::string& Replacement) {
  if (Search.empty()) return Text;
  // Searching from the start again finds the replacement itself forever.
  if (Replacement.find(Search) != std::string::npos)
    return ReplaceEachOnce(Text, Search, Replacement);
  const std::size_t m = Search.size();
  // A replacement that is shorter than the search text shrinks the text, so there are at most
  // Text.size() replacements. A longer one can make new matches across its edges without end
  // ("ab" -> "bbaa" in "aab"); past that many replacements each original occurrence is
  // replaced once instead.
  const std::size_t budget = Text.size() + 1;
  std::size_t replacements = 0;
  std::string out;
  out.reserve(Text.size());
  // The text is always out + Text[rest..]. Searching from the start again after a replacement
  // can only find a match that begins at most m - 1 characters before that replacement (the
  // text before it held no match), so only the characters of out from `resume` on are checked
  // again; the rest of Text is searched with find.
  std::size_t rest = 0;
  std::size_t resume = 0;
  for (;;) {
    // A match that starts inside out (it may run on into Text[rest..]).
    std::size_t hit = std::string::npos;
    for (std::size_t p = resume; p < out.size(); ++p) {
      const std::size_t inOut = out.size() - p;
      if (inOut < m && Text.size() - rest < m - inOut) break;  // runs past the end
      if (out.compare(p, std::min(inOut, m), Search, 0, std::min(inOut, m)) != 0) continue;
      if (inOut >= m || Text.compare(rest, m - inOut, Search, inOut, m - inOut) == 0) {
        hit = p;
        break;
      }
    }
    if (hit != std::string::npos) {
      if (++replacements > budget) return ReplaceEachOnce(Text, Search, Replacement);
      const std::size_t inOut = out.size() - hit;
      if (inOut > m) {
        // The match ends inside the last replacement: only the short tail after it moves.
        out.replace(hit, m, Replacement);
      } else {
        out.resize(hit);
        out += Replacement;
        rest += m - inOut;
      }
      resume = hit >= m - 1 ? hit - (m - 1) : 0;
      continue;
    }
    const std::size_t at = Text.find(Search, rest);
    if (at == std::string::npos) break;
    if (++replacements > budget) return ReplaceEachOnce(Text, Search, Replacement);
    out.append(Text, rest, at - rest);
    const std::size_t place = out.size();
    out += Replacement;
    rest = at + m;
    resume = place >= m - 1 ? place - (m - 1) : 0;
  }
  out.append(Text, rest, std::string::npos);
  return out;
}

}  // namespace pagolin
