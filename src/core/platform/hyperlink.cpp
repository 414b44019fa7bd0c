#include "core/platform/hyperlink.h"

#include <cctype>

namespace pagolin {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

// The argument at the start of rest (quoted or up to the next blank); rest moves past it.
std::string Argument(std::string_view& rest) {
  rest = TrimBlanks(rest);
  if (!rest.empty() && rest.front() == '"') {
    const size_t close = rest.find('"', 1);
    const std::string value(
        rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
    return value;
  }
  const size_t blank = rest.find(' ');
  const std::string value(rest.substr(0, blank));
  rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank);
  return value;
}

}  // namespace

std::string HyperlinkAddress(std::string_view instruction) {
  std::string_view rest = TrimBlanks(instruction);
  if (!StartsWithNoCase(rest, "hyperlink")) return {};
  rest.remove_prefix(9);
  rest = TrimBlanks(rest);
  std::string address;
  if (!rest.empty() && rest.front() != '\\') address = Argument(rest);
  // Switches: \l names a place in the document; the others (\o tip, \t target...) are dropped.
  while (!(rest = TrimBlanks(rest)).empty()) {
    if (rest.size() >= 2 && rest[0] == '\\') {
      const char sw = rest[1];
      rest.remove_prefix(2);
      const std::string value = Argument(rest);
      if (sw == 'l' && !value.empty()) address += "#" + value;
    } else {
      Argument(rest);
    }
  }
  return address;
}

std::string FieldAddress(std::string_view address) {
  std::string out;
  for (char c : address) {
    if (c == '"')
      out += "%22";
    else
      out += c;
  }
  return out;
}

bool IsLinkableAddress(std::string_view address) {
  address = TrimBlanks(address);
  if (address.empty()) return false;
  // A scheme is letters, digits, "+", "-", "." up to a ":" before any "/", "?" or "#".
  const size_t colon = address.find(':');
  const size_t end = address.find_first_of("/?#");
  if (colon == std::string_view::npos || (end != std::string_view::npos && end < colon)) return true;
  std::string scheme;
  for (char c : address.substr(0, colon)) {
    // Browsers drop blanks and controls inside an address, so they may hide a scheme.
    if (static_cast<unsigned char>(c) < 0x21 || c == 0x7F) return false;
    scheme += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return scheme == "http" || scheme == "https" || scheme == "mailto";
}

std::string HtmlAttribute(std::string_view address) {
  std::string out;
  out.reserve(address.size());
  for (char c : address) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace pagolin
