// TSiteFeeds: what a build writes beside the pages when the site has an address: one Atom feed
// (RFC 4287) per language with the news of that language's page, and a sitemap
// (sitemaps.org) of the title page and the two language pages.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/pages/siteaddress.h"
#include "core/platform/datetime.h"
#include "core/platform/ttable.h"

namespace pagolin {

class TSettings;

// One news item of a feed, in the page's terms: title and body as the page's HTML
// (UTF-8), the date as stored (local time).
struct TFeedEntry {
  TRecordId Record = 0;
  TDateTime Date = 0;
  std::string TitleHtml;
  std::string BodyHtml;
};

class TSiteFeeds {
 public:
  // A feed holds the newest news items of its page, at most this many.
  static constexpr size_t kMaxEntries = 20;
  static constexpr std::string_view kSitemapFileName = "sitemap.xml";

  // nullptr when the settings name no site address (the build then writes no feeds), and also
  // when they cannot have feeds: problem then holds the message for the user (a site address
  // that is not one, or a home page named like a feed). settings must outlive the result.
  static std::unique_ptr<TSiteFeeds> ForSettings(const TSettings& settings, std::string& problem);

  // File names (text, no folder) after the home page's: "index1.htm" for language 1
  // ("index.htm" for 0, the title page), and its feed "index1.xml".
  std::string PageFileName(int language) const;
  std::string FeedFileName(int language) const;

  // What "%FEEDLINK%" stands for on the page of a language: the line
  // <link rel="alternate" type="application/atom+xml" title="..." href="index1.xml">, ended by
  // CR LF.
  std::string FeedLink(int language) const;

  // The feed of a language (UTF-8 XML, lines ended by CR LF) with the entries in the order
  // given (the page's: newest first). The feed's id and each entry's id are tag URIs of the
  // site address: an entry's from its record's identity and the language, so that neither
  // later edits of the item nor other items change it. The record identity is the rowid of
  // the news table, which editing a record keeps; what changes it is a record made anew
  // (deleted and typed again, or imported again into emptied tables), and the table may give
  // the rowid of its newest record, once deleted, to the next new one. The feed's updated is
  // its newest entry's date (the start of 1970 without entries), so an unchanged site gives
  // an unchanged feed.
  std::string FeedText(int language, const std::vector<TFeedEntry>& entries) const;

  // The sitemap (UTF-8 XML, lines ended by CR LF): the title page and the language pages 1, 2.
  std::string SitemapText() const;

  // An instant as RFC 3339 in UTC ("2026-03-10T08:30:00Z"), from a local date-time.
  static std::string AtomDateTime(TDateTime local);

 private:
  TSiteFeeds(TSiteAddress address, const TSettings& settings);
  std::string FeedTitle(int language) const;

  TSiteAddress address_;
  const TSettings& settings_;
};

}  // namespace pagolin
