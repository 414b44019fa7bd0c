#include "core/pages/siteaddress.h"

#include <cctype>

#include "core/platform/percentencode.h"

namespace pagolin {
namespace {

// Text as a path of an address, percent-encoded where needed (kept as they are: unreserved,
// sub-delimiters, ":", "@" and "/"). With keepEscapes a "%" that already starts an escape stays
// (the user typed an address); a file name's "%" is a character of the name.
std::string EncodePath(std::string_view text, bool keepEscapes) {
  return PercentEncode(text, "!$&'()*+,;=:@/", keepEscapes);
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool ValidHost(std::string_view host) {
  if (host.empty() || host.front() == '.' || host.front() == '-') return false;
  for (char c : host)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-')) return false;
  return true;
}

bool ValidPort(std::string_view port) {
  if (port.empty() || port.size() > 5) return false;
  for (char c : port)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

std::optional<TSiteAddress> TSiteAddress::FromSetting(std::string_view setting, std::string& problem) {
  problem.clear();
  const size_t first = setting.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  const std::string_view text = setting.substr(first, setting.find_last_not_of(" \t") - first + 1);

  const std::string_view lower = text.substr(0, 8);
  const size_t schemeEnd = Lower(lower).starts_with("https://")  ? 8
                           : Lower(lower).starts_with("http://") ? 7
                                                                 : 0;
  const std::string_view rest = text.substr(schemeEnd);
  const size_t slash = rest.find('/');
  const std::string_view authority = rest.substr(0, slash);
  const std::string_view path = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
  const size_t colon = authority.find(':');
  const std::string_view host = authority.substr(0, colon);
  const bool portOk = colon == std::string_view::npos || ValidPort(authority.substr(colon + 1));

  if (schemeEnd == 0 || !ValidHost(host) || !portOk || text.find_first_of("?#") != std::string_view::npos) {
    problem = "The site address \"" + std::string(setting) +
              "\" is not the web address of a folder, such as https://www.example.com/. Change it in the "
              "settings, or empty it to build without news feeds.";
    return std::nullopt;
  }
  TSiteAddress address;
  address.host_ = Lower(host);
  address.path_ = EncodePath(path, true);
  if (address.path_.back() != '/') address.path_ += '/';
  address.folderURL_ = Lower(text.substr(0, schemeEnd)) + Lower(authority) + address.path_;
  return address;
}

std::string TSiteAddress::FileURL(std::string_view fileName) const {
  return folderURL_ + EncodePath(fileName, false);
}

std::string TSiteAddress::TagURI(std::string_view specific) const {
  return "tag:" + host_ + "," + std::string(kTagDate) + ":" + path_ + std::string(specific);
}

}  // namespace pagolin
