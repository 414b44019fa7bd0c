#include "core/data/datamod.h"

#include "core/data/siteschema.h"
#include "core/platform/datetime.h"
#include "core/platform/filenames.h"

namespace pagolin {

void TDatabase::Open() {
  const std::string path = Path();
  if (path.empty()) throw EDatabaseError("The database \"" + DatabaseName + "\" has no \"path=\" parameter.");
  if (!DirectoryExists(path))
    throw EDatabaseError("The site folder \"" + PathText(path) +
                         "\" does not exist. A site is prepared with pagolin-newsite.");
  connected_ = true;
}

std::string TDatabase::Path() const {
  for (const std::string& line : Params)
    if (line.rfind("path=", 0) == 0 && line.size() > 5) return IncludeTrailingPathDelimiter(line.substr(5));
  return {};
}

TDataModule2::TDataModule2(std::string siteFolder)
    : tblProducts(ProductsTableDef()),
      tblNews(NewsTableDef()),
      tblLinks(LinksTableDef()),
      tblCodes(CodesTableDef()),
      tblNewsPost(NewsPostTableDef()),
      dsProducts(&tblProducts),
      dsNews(&tblNews),
      dsLinks(&tblLinks),
      dsCodes(&tblCodes),
      dsNewsPost(&tblNewsPost),
      siteFolder_(std::move(siteFolder)) {
  tblProducts.SetIndexName("byCategory");
  tblNews.SetIndexName("byDateDescending");
  tblLinks.SetIndexName("Categoryname");
  tblCodes.SetIndexName("TypeAndName");
  tblNewsPost.SetIndexName("newspostdatedesc");
  dsNews.OnStateChange = [this](TDataSource& sender) { dsNewsStateChange(sender); };
  dsNewsPost.OnDataChange = [this](TDataSource& sender, const TField* field) {
    dsNewsPostDataChange(sender, field);
  };
}

void TDataModule2::DataModule2Create() {
  Database1.Params.clear();
  Database1.Params.push_back("path=" + IncludeTrailingPathDelimiter(siteFolder_));
  Database1.Open();
  // Every table refers to the database for its folder.
  for (TTable* table : {&tblNews, &tblProducts, &tblNewsPost, &tblCodes, &tblLinks})
    table->SetDatabasePath(Database1.Path());
  for (TTable* table : {&tblNews, &tblProducts, &tblNewsPost, &tblCodes, &tblLinks}) table->Open();
}

void TDataModule2::ClearTables(bool products, bool news, bool links, bool postings) {
  const std::pair<bool, TTable*> order[] = {
      {products, &tblProducts}, {news, &tblNews}, {links, &tblLinks}, {postings, &tblNewsPost}};
  for (const auto& [clear, table] : order) {
    if (!clear) continue;
    table->Close();
    try {
      table->EmptyTable();
    } catch (const EDatabaseError&) {
      // A locked file: the table stays as it was, and open.
      try {
        table->Open();
      } catch (const EDatabaseError&) {
      }
      throw;
    }
    table->Open();
    if (TUndoHistory* history = UndoHistoryOf(*table)) history->Clear();
  }
}

TUndoHistory* TDataModule2::UndoHistoryOf(const TTable& table) {
  for (TUndoHistory* history : {&undoProducts, &undoNews, &undoLinks, &undoCodes, &undoNewsPost})
    if (&history->Table() == &table) return history;
  return nullptr;
}

void TDataModule2::dsNewsStateChange(TDataSource&) {
  if (tblNews.State() != TDataSetState::dsInsert) return;
  tblNews.FieldByName("Date").SetAsDateTime(Now());
  tblNews.Post();
  tblNews.Edit();
}

void TDataModule2::dsNewsPostDataChange(TDataSource&, const TField* field) {
  if (field != nullptr || !tblNewsPost.Active()) return;
  const bool enabled = tblNewsPost.FieldByName("Date sent").AsString().empty();
  if (EnableSendBox) EnableSendBox(enabled);
}

}  // namespace pagolin
