#include "core/pages/sitefeeds.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/data/settings.h"
#include "core/pages/textlines.h"
#include "core/platform/filenames.h"
#include "core/platform/hyperlink.h"
#include "core/platform/inifile.h"
#include "core/platform/xmltext.h"

namespace pagolin {
namespace {

constexpr char kXmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";

// "a=\"v\"" for a value that is already XML.
std::string Attribute(std::string_view name, const std::string& xmlValue) {
  return " " + std::string(name) + "=\"" + xmlValue + "\"";
}

std::string Element(std::string_view indent, std::string_view name, const std::string& xmlText,
                    std::string_view attributes = {}) {
  return std::string(indent) + "<" + std::string(name) + std::string(attributes) + ">" + xmlText + "</" +
         std::string(name) + ">\r\n";
}

std::string Link(std::string_view indent, std::string_view rel, std::string_view type,
                 const std::string& url) {
  return std::string(indent) + "<link" + Attribute("rel", std::string(rel)) +
         Attribute("type", std::string(type)) + Attribute("href", XmlText(url)) + "/>\r\n";
}

}  // namespace

std::unique_ptr<TSiteFeeds> TSiteFeeds::ForSettings(const TSettings& settings, std::string& problem) {
  std::optional<TSiteAddress> address = TSiteAddress::FromSetting(settings.SiteURL, problem);
  if (!address) return nullptr;
  // A page named *.xml would be overwritten by its own feed (index1.xml), the title page by
  // the sitemap (sitemap.xml).
  if (SameText(ExtractFileExt(settings.WWWHomepageFile), ".xml")) {
    problem = "The home page file name \"" + settings.WWWHomepageFile +
              "\" ends in .xml like the news feeds a site address brings. Choose another name, such as "
              "index.htm, or empty the site address.";
    return nullptr;
  }
  return std::unique_ptr<TSiteFeeds>(new TSiteFeeds(std::move(*address), settings));
}

TSiteFeeds::TSiteFeeds(TSiteAddress address, const TSettings& settings)
    : address_(std::move(address)), settings_(settings) {}

std::string TSiteFeeds::PageFileName(int language) const {
  const std::string& home = settings_.WWWHomepageFile;
  const std::string ext = ExtractFileExt(home);
  if (language == 0) return home;
  return home.substr(0, home.size() - ext.size()) + std::to_string(language) + ext;
}

std::string TSiteFeeds::FeedFileName(int language) const {
  return ChangeFileExt(PageFileName(language), ".xml");
}

std::string TSiteFeeds::FeedTitle(int language) const {
  const std::string site = settings_.Organization.empty() ? address_.FolderURL() : settings_.Organization;
  const std::string name = settings_.LanguageName(language).value_or("");
  return name.empty() ? site : site + " - " + name;
}

std::string TSiteFeeds::FeedLink(int language) const {
  // Only the attribute's own characters are escaped; the page writes the others as it can.
  return "<link rel=\"alternate\" type=\"application/atom+xml\" title=\"" +
         HtmlAttribute(FeedTitle(language)) + "\" href=\"" + FeedFileName(language) + "\">\r\n";
}

std::string TSiteFeeds::AtomDateTime(TDateTime local) {
  const std::time_t t = static_cast<std::time_t>(LocalDateTimeToUnix(local));
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[80];  // room for any int the fields may hold
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

std::string TSiteFeeds::FeedText(int language, const std::vector<TFeedEntry>& entries) const {
  const std::string lang = std::to_string(language);
  const std::string pageURL = address_.FileURL(PageFileName(language));
  const auto newest =
      std::max_element(entries.begin(), entries.end(),
                       [](const TFeedEntry& a, const TFeedEntry& b) { return a.Date < b.Date; });
  const std::string author = !settings_.Organization.empty() ? settings_.Organization
                             : !settings_.Name.empty()       ? settings_.Name
                                                             : address_.FolderURL();

  std::string xml = kXmlDeclaration;
  xml += "<feed xmlns=\"http://www.w3.org/2005/Atom\">\r\n";
  xml += Element("  ", "id", XmlText(address_.TagURI("news/" + lang)));
  xml += Element("  ", "title", XmlText(FeedTitle(language)));
  xml +=
      Element("  ", "updated", newest == entries.end() ? "1970-01-01T00:00:00Z" : AtomDateTime(newest->Date));
  xml += "  <author>\r\n" + Element("    ", "name", XmlText(author)) + "  </author>\r\n";
  xml += Link("  ", "self", "application/atom+xml", address_.FileURL(FeedFileName(language)));
  xml += Link("  ", "alternate", "text/html", pageURL);
  for (const TFeedEntry& entry : entries) {
    xml += "  <entry>\r\n";
    xml +=
        Element("    ", "id", XmlText(address_.TagURI("news/" + std::to_string(entry.Record) + "/" + lang)));
    xml += Element("    ", "title", XmlText(entry.TitleHtml), " type=\"html\"");
    xml += Element("    ", "updated", AtomDateTime(entry.Date));
    xml += Link("    ", "alternate", "text/html", pageURL);
    xml += Element("    ", "content", XmlText(entry.BodyHtml), " type=\"html\"");
    xml += "  </entry>\r\n";
  }
  xml += "</feed>\r\n";
  return ToCrLfLines(xml);
}

std::string TSiteFeeds::SitemapText() const {
  std::string xml = kXmlDeclaration;
  xml += "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\r\n";
  for (int page : {0, 1, 2})
    xml += "  <url><loc>" + XmlText(address_.FileURL(PageFileName(page))) + "</loc></url>\r\n";
  xml += "</urlset>\r\n";
  return xml;
}

}  // namespace pagolin
