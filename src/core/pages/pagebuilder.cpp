#include "core/pages/pagebuilder.h"

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/pages/codes.h"
#include "core/pages/fileinfo.h"
#include "core/pages/htmltext.h"
#include "core/pages/imagetags.h"
#include "core/pages/sitefiles.h"
#include "core/pages/textlines.h"
#include "core/platform/codepage.h"
#include "core/platform/filenames.h"
#include "core/platform/hooks.h"
#include "core/platform/recordkeeper.h"
#include "core/platform/replaceall.h"
#include "core/platform/ttable.h"

namespace pagolin {
namespace {

// A fixed piece of a page: one entry, ended by a line break (an empty piece is an empty line).
void AppendPiece(std::string& page, const std::string& piece) {
  page += piece;
  page += "\r\n";
}

std::string FieldText(TTable& table, const std::string& name) { return table.FieldByName(name).AsString(); }

// The mended "%LASTUPDATE%" pattern: hours and minutes.
constexpr const char* kLastUpdateFormat = "dd.mm.yyyy hh:nn";

}  // namespace

TPageBuilder::TPageBuilder(TDataModule2& dataModule, const TSettings& settings)
    : dataModule_(dataModule), settings_(settings) {
  Parvel1.SetOptions({TParvelOption::soUseColors});
}

std::string TPageBuilder::GetCode(const std::string& name) {
  return ReplaceAll(pagolin::GetCode(Data().tblCodes, name, Settings().HomePagePath()), "%FEEDLINK%",
                    feedLink_);
}

std::string TPageBuilder::HtmlText(const std::string& text) { return pagolin::HtmlText(Parvel1, text); }

std::string TPageBuilder::ReplaceVariables(const std::string& text, bool plain) {
  return pagolin::ReplaceVariables(Data().tblCodes, text, plain);
}

void TPageBuilder::SetProgress(int position, int maximum) {
  position_ = position;
  maximum_ = maximum;
  if (OnProgress) OnProgress(position_, maximum_);
}

void TPageBuilder::BuildPages() {
  cancelled_ = false;
  feedLink_.clear();  // also after a build that ended with an error
  if (const std::string problem = Settings().HomePageFileProblem(); !problem.empty())
    throw EBuildError(problem);
  std::string feedProblem;
  feeds_ = TSiteFeeds::ForSettings(Settings(), feedProblem);
  if (!feedProblem.empty()) throw EBuildError(feedProblem);
  TDataModule2& dm = Data();
  // What the user has saved is what the build reads.
  for (TTable* table : {&dm.tblCodes, &dm.tblProducts, &dm.tblLinks, &dm.tblNews}) table->FlushBuffers();
  TRecordKeeper codes(dm.tblCodes);  // the lookups move it
  SetProgress(0,
              2 * (dm.tblProducts.RecordCount() + dm.tblNews.RecordCount() + dm.tblLinks.RecordCount() + 1));

  const std::string home = Settings().HomePagePath();
  const std::string ext = ExtractFileExt(home);
  const std::string base = home.substr(0, home.size() - ext.size());
  // What a build that was stopped half-way left behind of its own pages.
  for (const std::string& page : {home, base + "1" + ext, base + "2" + ext}) RemoveTemporaryFilesOf(page);
  const std::string sitemap = Settings().OutputFolder() + std::string(TSiteFeeds::kSitemapFileName);
  if (feeds_)
    for (const std::string& file : {base + "1.xml", base + "2.xml", sitemap}) RemoveTemporaryFilesOf(file);
  FileList.push_back(home);
  BuildTitlePage(base, ext);
  SetProgress(1, maximum_);
  BuildLanguagePage(base, 2, ext);
  BuildLanguagePage(base, 1, ext);
  if (feeds_) {
    WriteWhole(sitemap, feeds_->SitemapText());
    FileList.push_back(sitemap);
  }
  std::string().swap(pageBuffer_);
  codes.Restore();
}

void TPageBuilder::BuildTitlePage(const std::string& base, const std::string& ext) {
  std::string page;
  AppendPiece(page, "<HTML>");
  AppendPiece(page, GetCode("Head"));
  AppendPiece(page, GetCode("Body"));
  // "Title Page Stop" follows the title content directly, on the same line.
  std::string title = GetCode("Title Page") + GetCode("Title Page Stop");
  const std::string baseName = ExtractFileName(base);
  title = ReplaceAll(title, "%LANGUAGE1%", baseName + "1" + ext);
  title = ReplaceAll(title, "%LANGUAGE2%", baseName + "2" + ext);
  title = ReplaceAll(title, "%LASTUPDATE%", FormatDateTime(kLastUpdateFormat, Clock ? Clock() : Now()));
  AppendPiece(page, title);
  AppendPiece(page, GetCode("Body Stop"));
  AppendPiece(page, "</HTML>");
  WritePage(base + ext, page);
}

void TPageBuilder::BuildLanguagePage(const std::string& base, int language, const std::string& ext) {
  TDataModule2& dm = Data();
  const std::string outputFolder = Settings().OutputFolder();
  feedLink_ = feeds_ ? feeds_->FeedLink(language) : std::string();
  feedEntries_.clear();
  const std::string productTemplate = GetCode("Product");
  const std::string newsTemplate = GetCode("News");
  // Fetched once per page like the others: nothing can change the codes during a build, and a
  // lookup per row would cost a query per row.
  const std::string linkTemplate = GetCode("Link");

  std::string& page = pageBuffer_;
  page.clear();
  page.reserve(pageSizeHint_);  // the other language's page is about as long
  AppendPiece(page, "<HTML>");
  for (const char* name : {"Head", "Head Stop", "Body", "News Start"}) AppendPiece(page, GetCode(name));
  Walk(dm.tblNews, page, [&] { return NewsRow(newsTemplate, language); });
  AppendPiece(page, GetCode("News Stop"));
  AppendPiece(page, GetCode("Products"));
  dm.tblProducts.SetIndexName("byCategory");
  Walk(dm.tblProducts, page, [&] { return ProductRow(productTemplate, language, outputFolder); });
  AppendPiece(page, GetCode("Products Stop"));
  AppendPiece(page, GetCode("Links"));
  Walk(dm.tblLinks, page, [&] { return LinkRow(linkTemplate, language, outputFolder); });
  for (const char* name : {"Links Stop", "Body Stop"}) AppendPiece(page, GetCode(name));
  AppendPiece(page, "</HTML>");

  pageSizeHint_ = page.size() + page.size() / 8;
  const std::string fileName = base + std::to_string(language) + ext;
  WritePage(fileName, page);
  FileList.push_back(fileName);
  feedLink_.clear();
  if (feeds_) {
    const std::string feedName = base + std::to_string(language) + ".xml";
    WriteWhole(feedName, feeds_->FeedText(language, feedEntries_));
    FileList.push_back(feedName);
  }
}

void TPageBuilder::Walk(TTable& table, std::string& page, const std::function<std::string()>& rowText) {
  TRecordKeeper keeper(table);
  table.First();
  // The test comes after the row: the first row is always handled, an empty table once.
  do {
    if (!table.IsEmpty() && table.FieldByName("Include").AsBoolean()) AppendLines(page, rowText());
    SetProgress(position_ + 1, maximum_);
    table.Next();
    ProcessMessagesNow();
  } while (!table.Eof() && !cancelled_);
  keeper.Restore();
}

std::string TPageBuilder::NewsRow(const std::string& templ, int language) {
  TTable& news = Data().tblNews;
  const std::string n = std::to_string(language);
  const std::string date =
      FormatDateTime(Settings().DateFormat(language).value_or(""), news.FieldByName("Date").AsDateTime());
  std::string text = ReplaceAll(templ, "%DATE%", HtmlText(date));
  text = ReplaceAll(text, "%NEWSTITLE%", HtmlText(FieldText(news, "News Title " + n)));
  text = ReplaceAll(text, "%NEWSBODY%", HtmlText(FieldText(news, "News Body " + n)));
  if (feeds_ && feedEntries_.size() < TSiteFeeds::kMaxEntries) AddFeedEntry(language);
  return text;
}

void TPageBuilder::AddFeedEntry(int language) {
  TTable& news = Data().tblNews;
  const std::string n = std::to_string(language);
  // As on the page: the variables are replaced in the texts too.
  auto html = [&](const std::string& field) {
    return ReplaceVariables(HtmlTextOnItsOwn(FieldText(news, field + n)), false);
  };
  feedEntries_.push_back(
      {news.RecordId(), news.FieldByName("Date").AsDateTime(), html("News Title "), html("News Body ")});
}

std::string TPageBuilder::ProductRow(const std::string& templ, int language,
                                     const std::string& outputFolder) {
  TTable& products = Data().tblProducts;
  if (language == 1) AddProductFiles(products, outputFolder, FileList);
  const std::string name = HtmlText(FieldText(products, "Name"));
  const std::string downloadName = FieldText(products, "Download Area Filename");
  const std::string downloadPath = outputFolder + TextPath(downloadName);
  std::string sizeText, dateText;
  if (!downloadName.empty()) {
    const TFileFacts download = LookAtFile(downloadPath);
    sizeText = " (" + std::to_string(download.sizeKB) + " KB)";
    if (download.exists)
      dateText = FormatDateTime(Settings().DateTimeFormat(language).value_or(""), download.date);
  }
  std::string text = ReplaceAll(templ, "%NAME%", name);
  text = ReplaceAll(text, "%CATEGORY%", HtmlText(FieldText(products, "Category")));
  text = ReplaceAll(text, "%FILENAME%", ExtractFileName(downloadName));
  text = ReplaceAll(text, "%FILESIZE%", sizeText);
  text = ReplaceAll(text, "%FILEDATE%", dateText);
  text = ReplaceImage(text, FieldText(products, "Screenshot"), name, "", outputFolder, nullptr);
  return ReplaceAll(text, "%DESCRIPTION%",
                    HtmlText(FieldText(products, "Description " + std::to_string(language))));
}

std::string TPageBuilder::LinkRow(const std::string& templ, int language, const std::string& outputFolder) {
  TTable& links = Data().tblLinks;
  if (language == 1) AddLinkFiles(links, outputFolder, FileList);
  const std::string name = HtmlText(FieldText(links, "Name"));
  const std::string url = FieldText(links, "URL");
  std::string text = ReplaceAll(templ, "%NAME%", name);
  text = ReplaceAll(text, "%URL%", url);
  text = ReplaceImage(text, FieldText(links, "Image"), name, url, outputFolder, nullptr);
  return ReplaceAll(text, "%DESCRIPTION%",
                    HtmlText(FieldText(links, "Description " + std::to_string(language))));
}

void TPageBuilder::WritePage(const std::string& fileName, const std::string& page) {
  // Pages are Windows-1252, every other character a numeric character reference.
  WriteWhole(fileName, Utf8ToAnsiRefs(ReplaceVariablesAsLines(Data().tblCodes, page)));
}

void TPageBuilder::WriteWhole(const std::string& fileName, const std::string& text) {
  std::string error;
  if (!WriteFileAtomically(fileName, text, error))
    throw EBuildError("Cannot create file \"" + PathText(fileName) + "\". " + error);
}

}  // namespace pagolin
