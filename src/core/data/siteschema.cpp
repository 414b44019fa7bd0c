#include "core/data/siteschema.h"

#include "core/platform/filenames.h"

#include "core/platform/sqlitedb.h"

namespace pagolin {
namespace {

constexpr TFieldKind kText = TFieldKind::fkText;
constexpr TFieldKind kMemo = TFieldKind::fkMemo;
constexpr TFieldKind kLogical = TFieldKind::fkLogical;
constexpr TFieldKind kDateTime = TFieldKind::fkDateTime;

}  // namespace

const TTableDef& ProductsTableDef() {
  static const TTableDef def{"product.DB",
                             "product",
                             {{"Name", kText},
                              {"Category", kText},
                              {"Download Area Filename", kText},
                              {"Screenshot", kText},
                              {"Description 1", kMemo},
                              {"Description 2", kMemo},
                              {"Include", kLogical}},
                             {{"byCategory", "\"Category\""}}};
  return def;
}

const TTableDef& NewsTableDef() {
  static const TTableDef def{"news.db",
                             "news",
                             {{"Date", kDateTime},
                              {"News Title 1", kText},
                              {"News Title 2", kText},
                              {"News Body 1", kMemo},
                              {"News Body 2", kMemo},
                              {"Include", kLogical}},
                             {{"byDateDescending", "\"Date\" DESC"}}};
  return def;
}

const TTableDef& LinksTableDef() {
  static const TTableDef def{"links.db",
                             "links",
                             {{"Category", kText},
                              {"Name", kText},
                              {"URL", kText},
                              {"Image", kText},
                              {"Description 1", kMemo},
                              {"Description 2", kMemo},
                              {"Include", kLogical}},
                             {{"Categoryname", "\"Category\", \"Name\""}}};
  return def;
}

const TTableDef& CodesTableDef() {
  static const TTableDef def{
      "codes.db",
      "codes",
      {{"Name", kText}, {"Type", kText}, {"Code", kMemo}, {"Description 1", kText}, {"Description 2", kText}},
      {{"TypeAndName", "\"Type\", \"Name\""}}};
  return def;
}

const TTableDef& NewsPostTableDef() {
  static const TTableDef def{"newspost.db",
                             "newspost",
                             {{"Send", kLogical},
                              {"Date sent", kDateTime},
                              {"Subject", kText},
                              {"Newsgroups", kText},
                              {"Body", kMemo}},
                             {{"newspostdatedesc", "\"Date sent\" DESC"}}};
  return def;
}

std::vector<const TTableDef*> SiteTableDefs() {
  return {&ProductsTableDef(), &NewsTableDef(), &LinksTableDef(), &CodesTableDef(), &NewsPostTableDef()};
}

std::vector<std::string> CreateTableStatements(const TTableDef& def) {
  std::string columns;
  for (const TFieldDef& f : def.fields)
    columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(f.name) +
               (f.kind == TFieldKind::fkLogical ? " INTEGER" : " TEXT");
  std::vector<std::string> sql{"CREATE TABLE " + QuoteIdentifier(def.tableName) + " (" + columns + ")"};
  for (const TIndexDef& index : def.indexes)
    sql.push_back("CREATE INDEX " + QuoteIdentifier(index.name) + " ON " + QuoteIdentifier(def.tableName) +
                  " (" + index.columns + ")");
  return sql;
}

std::string DefaultSiteFolder(const std::string& programFolder, const std::string& home) {
  const std::string own = IncludeTrailingPathDelimiter(programFolder);
  for (const TTableDef* def : SiteTableDefs())
    if (FileExists(own + def->fileName)) return own;
  if (home.empty()) return own;
  return IncludeTrailingPathDelimiter(IncludeTrailingPathDelimiter(home) + "Pagolin");
}

}  // namespace pagolin
