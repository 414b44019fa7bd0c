// TSiteAddress: the public web address of the output folder (the setting SiteURL), from which
// the news feeds and the sitemap name the pages, and the news items get lasting identities.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pagolin {

class TSiteAddress {
 public:
  // Reads the setting (blanks around it are ignored). A blank setting gives
  // nullopt and no problem. A setting that is not the http or https address of a folder (a
  // host of letters, digits, dots and hyphens with an optional port; no user, query or
  // fragment) gives nullopt and a message for the user in problem. A path that does not end
  // in "/" gets one: the address names the folder.
  static std::optional<TSiteAddress> FromSetting(std::string_view setting, std::string& problem);

  // "https://www.example.com/our%20site/": scheme and host in small letters, the path in
  // UTF-8 with every character that an address cannot carry as it is percent-encoded.
  const std::string& FolderURL() const { return folderURL_; }
  // The address of a file of the output folder (fileName: text, no folder).
  std::string FileURL(std::string_view fileName) const;
  // A tag URI (RFC 4151) for a thing of this site: "tag:" host "," kTagDate ":" path specific,
  // e.g. "tag:www.example.com,2000:/our%20site/news/7". It depends on the host and the path
  // only, so it stays the same as long as the site address does.
  std::string TagURI(std::string_view specific) const;

  // The date part of every tag. A tag names a day on which its maker held the address; no day
  // that the program knows is both certain and unchangeable (a news item's date can be edited,
  // and a changed date must not make a feed reader show the item as new), so the date is fixed.
  static constexpr std::string_view kTagDate = "2000";

 private:
  TSiteAddress() = default;

  std::string folderURL_;
  std::string host_;  // without the port
  std::string path_;  // from the "/" after the host, ending in "/"
};

}  // namespace pagolin
