// TPageBuilder: the work of the build dialog without its widgets. Builds the title page and
// the two language pages of a site from the codes and the included rows of the news,
// product and link tables, and keeps the list of the files the site consists of. A site with
// an address also gets a news feed per language and a sitemap (core/pages/sitefeeds.h).
//
// One build at a time, on the thread that owns the tables. After every table row it runs the
// pending-messages hook (ProcessMessagesNow), during which Cancel() may be called.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/pages/sitefeeds.h"
#include "core/platform/datetime.h"
#include "core/rtf2html/parvel.h"

namespace pagolin {

class TDataModule2;
class TSettings;
class TTable;

// A page file that could not be written; the message names the file and the reason.
class EBuildError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPageBuilder {
 public:
  // The tables and settings a build reads; both must outlive the builder.
  TPageBuilder(TDataModule2& dataModule, const TSettings& settings);
  TPageBuilder(const TPageBuilder&) = delete;
  TPageBuilder& operator=(const TPageBuilder&) = delete;

  // The converter of the field texts (options {soUseColors}); keeps its state between
  // conversions.
  TParvel Parvel1;
  // Full paths of the files the site consists of, in the order the build meets them:
  // the home page, the language 2 page, then from the language 1 pass each included product's
  // download file and screenshot and each included link's image, last the language 1 page.
  // With a site address each language page is followed by its feed, and the sitemap comes
  // last. Duplicates stay. Emptied by the caller before a build (the dialog does it when shown).
  std::vector<std::string> FileList;

  // Progress of the build: called whenever the position or the maximum changes.
  std::function<void(int position, int maximum)> OnProgress;
  // The local date and time for "%LASTUPDATE%" (Now unless a test sets it).
  std::function<TDateTime()> Clock;

  int ProgressPosition() const { return position_; }
  int ProgressMax() const { return maximum_; }
  bool Cancelled() const { return cancelled_; }
  // Stops the build after the row at hand: every later table walk handles its first row only,
  // and all three pages are still written.
  void Cancel() { cancelled_ = true; }

  // Runs one build: writes the pending table changes, the title page under the home page
  // path, then the page of language 2 and of language 1 beside it; with a site address also
  // the feeds and the sitemap. A site address or home page name that cannot work stops the
  // build before anything is written (EBuildError). Cancelled() is false when
  // it starts. Errors (EDatabaseError, EBuildError) end the build and propagate; FileList
  // then holds what was entered so far, and the walked tables and the codes table are back
  // on the records they were on (as after a complete build).
  void BuildPages();

  // Builds and writes base + language + ext (base: the home page path without its
  // extension; ext with its dot) and appends that path to FileList; with a site address then
  // also the language's feed, base + language + ".xml", with the news of the page.
  void BuildLanguagePage(const std::string& base, int language, const std::string& ext);

  // The operations the pages are made with (see pages/codes.h and pages/htmltext.h). GetCode
  // also replaces "%FEEDLINK%": the feed link of the language page being built, "" on the
  // title page and on a site without address.
  std::string GetCode(const std::string& name);
  std::string HtmlText(const std::string& text);
  std::string ReplaceVariables(const std::string& text, bool plain);

 private:
  // Visits the rows of table from the first, appending the lines of rowText() to page for
  // each included row; moves the progress on after every row, included or not, and stops
  // after a row when cancelled. Puts the table back on its record.
  void Walk(TTable& table, std::string& page, const std::function<std::string()>& rowText);
  void BuildTitlePage(const std::string& base, const std::string& ext);
  std::string NewsRow(const std::string& templ, int language);
  std::string ProductRow(const std::string& templ, int language, const std::string& outputFolder);
  std::string LinkRow(const std::string& templ, int language, const std::string& outputFolder);
  // Replaces the variables of the page text and writes it whole, lines ended by CR LF.
  void WritePage(const std::string& fileName, const std::string& page);
  void WriteWhole(const std::string& fileName, const std::string& text);
  // Keeps the news item at hand for the feed of the page, while it has room.
  void AddFeedEntry(int language);
  void SetProgress(int position, int maximum);

  TDataModule2& Data() const { return dataModule_; }
  const TSettings& Settings() const { return settings_; }

  TDataModule2& dataModule_;
  const TSettings& settings_;
  size_t pageSizeHint_ = 0;
  std::string pageBuffer_;               // the language page being assembled; its memory serves both pages
  std::unique_ptr<TSiteFeeds> feeds_;    // for the build at hand, when the site has an address
  std::vector<TFeedEntry> feedEntries_;  // the news of the language page being built
  std::string feedLink_;                 // what "%FEEDLINK%" stands for in the codes fetched now
  int position_ = 0;
  int maximum_ = 100;
  bool cancelled_ = false;
};

}  // namespace pagolin
