// One old table carried over into a new table file of a site, record for record.
#pragma once

#include <string>

#include "core/import/importreport.h"
#include "core/platform/ttable.h"

namespace pagolin {

// Reads the old table file oldTable (with its memo file memoFile, "" when it has none) and
// writes its records into the new file newFile (which must not exist), made after def, in
// one transaction.
//   - Fields are matched by name without regard to case. Texts (alpha and memo fields) are
//     converted from the table's code page to UTF-8, logicals become 1 or 0, timestamps and
//     dates the stored date-time text; empty fields stay NULL.
//   - A field of the old table that def does not have, or whose kind does not fit, is
//     reported and skipped; a field def has and the old table lacks stays NULL.
//   - A record with a value that cannot be read (a damaged memo, a logical or date out of
//     range) is reported and skipped.
// Throws EImportError naming oldTable (or the memo file) when the table cannot be read at all:
// not a table file, truncated, an unknown code page, memo fields without their memo file.
void ImportTable(const TTableDef& def, const std::string& oldTable, const std::string& memoFile,
                 const std::string& newFile, TTableReport& report);

}  // namespace pagolin
