// The five tables of a site: file, table, columns with their kinds, and indexes. The one place
// that says what a site file holds; the data module opens by it and pagolin-newsite creates by it.
#pragma once

#include <string>
#include <vector>

#include "core/platform/ttable.h"

namespace pagolin {

const TTableDef& ProductsTableDef();  // "product.DB", index byCategory
const TTableDef& NewsTableDef();      // "news.db", index byDateDescending
const TTableDef& LinksTableDef();     // "links.db", index Categoryname
const TTableDef& CodesTableDef();     // "codes.db", index TypeAndName
const TTableDef& NewsPostTableDef();  // "newspost.db", index newspostdatedesc

// All five, in the order products, news, links, codes, postings.
std::vector<const TTableDef*> SiteTableDefs();

// The site a program started without a site folder works on: its own folder when that holds a
// site (a table file), else the folder "Pagolin" in the user's home folder (an installed program
// lies among other programs). Both with their trailing delimiter; home is the home folder.
std::string DefaultSiteFolder(const std::string& programFolder, const std::string& home);

// The SQL that creates a table file's table and its indexes (column types: TEXT for texts,
// memos and date-times, INTEGER for logicals).
std::vector<std::string> CreateTableStatements(const TTableDef& def);

}  // namespace pagolin
