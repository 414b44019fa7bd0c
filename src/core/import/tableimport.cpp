#include "core/import/tableimport.h"

#include <array>
#include <memory>
#include <optional>

#include "core/data/siteschema.h"
#include "core/import/memoblockfile.h"
#include "core/import/paradoxtable.h"
#include "core/platform/codepage.h"
#include "core/platform/codepagetables.h"
#include "core/platform/filenames.h"
#include "core/platform/inifile.h"
#include "core/platform/sqlitedb.h"

namespace pagolin {
namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool Fits(TFieldKind kind, int type) {
  switch (kind) {
    case TFieldKind::fkText:
    case TFieldKind::fkMemo: return type == TParadoxTable::kAlpha || type == TParadoxTable::kMemo;
    case TFieldKind::fkLogical: return type == TParadoxTable::kLogical;
    case TFieldKind::fkDateTime: return type == TParadoxTable::kTimestamp || type == TParadoxTable::kDate;
  }
  return false;
}

std::string KindName(TFieldKind kind) {
  switch (kind) {
    case TFieldKind::fkText: return "a text";
    case TFieldKind::fkMemo: return "a memo";
    case TFieldKind::fkLogical: return "a logical";
    case TFieldKind::fkDateTime: return "a date-time";
  }
  return "";
}

// A column of the new table and the old field its values come from (nullptr: none, NULL).
struct TColumn {
  const TFieldDef* def;
  const TParadoxField* source;
};

std::vector<TColumn> MatchFields(const TTableDef& def, const TParadoxTable& table, TTableReport& report) {
  std::vector<TColumn> columns;
  for (const TFieldDef& f : def.fields) {
    const TParadoxField* source = nullptr;
    for (const TParadoxField& p : table.Fields())
      if (SameText(p.name, f.name)) source = &p;
    if (!source) {
      report.warnings.push_back("there is no field " + Quoted(f.name) + "; it stays empty");
    } else if (!Fits(f.kind, source->type)) {
      report.warnings.push_back("the field " + Quoted(source->name) + " is a " +
                                TParadoxTable::TypeName(source->type) + " field where " + KindName(f.kind) +
                                " is expected; its values were skipped");
      report.fieldSkipped = true;
      source = nullptr;
    }
    columns.push_back({&f, source});
  }
  for (const TParadoxField& p : table.Fields()) {
    bool known = false;
    for (const TFieldDef& f : def.fields) known = known || SameText(p.name, f.name);
    if (!known) {
      report.warnings.push_back("the field " + Quoted(p.name) + " (" + TParadoxTable::TypeName(p.type) +
                                ") is not part of a site table; its values were skipped");
      report.fieldSkipped = true;
    }
  }
  return columns;
}

// Reads, converts and binds one column's value; false with a reason when it cannot be read.
bool BindValue(const TColumn& column, int param, const std::string& record, TParadoxTable& table,
               TMemoBlockFile* memoFile, TSqliteStmt& insert, std::string& error) {
  const TParadoxField* f = column.source;
  if (!f) {
    insert.BindNull(param);
    return true;
  }
  std::string stored;  // alpha texts and dates
  std::optional<std::string_view> text;
  switch (f->type) {
    case TParadoxTable::kAlpha:
      if (std::optional<std::string> alpha = table.Alpha(record, *f)) {
        stored = std::move(*alpha);
        text = stored;
      }
      break;
    case TParadoxTable::kMemo:
      if (!ReadMemoField(std::string_view(record).substr(static_cast<std::size_t>(f->offset),
                                                         static_cast<std::size_t>(f->length)),
                         memoFile, text, error))
        return false;
      break;
    case TParadoxTable::kLogical: {
      bool ok = true;
      const std::optional<bool> value = table.Logical(record, *f, ok);
      if (!ok) {
        error = "holds no logical value";
        return false;
      }
      if (value)
        insert.BindInt(param, *value ? 1 : 0);
      else
        insert.BindNull(param);
      return true;
    }
    case TParadoxTable::kTimestamp:
    case TParadoxTable::kDate: {
      if (f->type == TParadoxTable::kTimestamp) {
        const std::optional<double> ms = table.Timestamp(record, *f);
        if (ms && !TParadoxTable::TimestampToStorageText(*ms, stored))
          error = "holds no date of the years 1 to 9999";
        if (ms) text = stored;
      } else {
        const std::optional<long> days = table.Date(record, *f);
        if (days && !TParadoxTable::DateToStorageText(*days, stored))
          error = "holds no date of the years 1 to 9999";
        if (days) text = stored;
      }
      if (!error.empty()) return false;
      break;
    }
  }
  if (!text) {
    insert.BindNull(param);
  } else {
    if (AsciiRunEnd(*text, 0) == text->size())  // rich text is ASCII throughout
      insert.BindText(param, *text);
    else
      insert.BindText(param, CodePageToUtf8(table.CodePage(), *text));
  }
  return true;
}

}  // namespace

void ImportTable(const TTableDef& def, const std::string& oldTable, const std::string& memoFile,
                 const std::string& newFile, TTableReport& report) {
  report.fileName = def.fileName;
  report.source = oldTable;
  TParadoxTable table;
  std::string error;
  if (!table.Open(oldTable, error))
    throw EImportError(Quoted(oldTable) + " cannot be imported: " + error + ".");
  report.codePage = table.CodePage();
  if (!IsSupportedCodePage(table.CodePage()))
    throw EImportError(Quoted(oldTable) + " is written in code page " + std::to_string(table.CodePage()) +
                       ", which the import does not know (it knows " + SupportedCodePagesText() + ").");
  const std::vector<TColumn> columns = MatchFields(def, table, report);

  bool hasMemos = false;
  for (const TColumn& c : columns)
    hasMemos = hasMemos || (c.source && c.source->type == TParadoxTable::kMemo);
  std::unique_ptr<TMemoBlockFile> memos;
  if (hasMemos) {
    if (memoFile.empty())
      throw EImportError(Quoted(oldTable) + " has memo fields, but its memo file " +
                         Quoted(ChangeFileExt(oldTable, ".MB")) + " is missing.");
    std::unique_ptr<TFileSource> source = TFileSource::Open(memoFile, error);
    if (!source) throw EImportError(Quoted(memoFile) + " cannot be opened: " + error + ".");
    memos = std::make_unique<TMemoBlockFile>(std::move(source));
    if (!memos->CheckHeader(error)) throw EImportError(Quoted(memoFile) + " is no memo file: " + error + ".");
  }

  TSqliteDb db;
  if (db.Open(newFile, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) != SQLITE_OK)
    throw EImportError("cannot create " + Quoted(newFile) + ": " + db.OpenError());
  auto check = [&](int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE) throw EImportError(Quoted(newFile) + ": " + db.ErrorMessage());
  };
  check(db.Exec("BEGIN"));
  for (const std::string& sql : CreateTableStatements(def)) check(db.Exec(sql));
  std::string names, params;
  for (const TColumn& c : columns) {
    names += (names.empty() ? "" : ", ") + QuoteIdentifier(c.def->name);
    params += params.empty() ? "?" : ", ?";
  }
  TSqliteStmt insert;
  check(insert.Prepare(db.Handle(), "INSERT INTO " + QuoteIdentifier(def.tableName) + " (" + names +
                                        ") VALUES (" + params + ")"));

  std::string record;
  for (int recNo = 0; recNo < table.RecordCount(); ++recNo) {
    if (!table.ReadRecord(recNo, record, error))
      throw EImportError(Quoted(oldTable) + " is damaged: " + error + ".");
    ++report.read;
    insert.Reset();
    bool ok = true;
    for (std::size_t i = 0; ok && i < columns.size(); ++i) {
      error.clear();
      ok = BindValue(columns[i], static_cast<int>(i) + 1, record, table, memos.get(), insert, error);
      if (!ok)
        report.warnings.push_back("record " + std::to_string(recNo + 1) + " was skipped: its field " +
                                  Quoted(columns[i].source->name) + " " +
                                  (error.rfind("holds", 0) == 0 ? error : "cannot be read: " + error));
    }
    if (!ok) {
      ++report.skipped;
      continue;
    }
    check(insert.Step());
    ++report.written;
  }
  insert.Finalize();
  check(db.Exec("COMMIT"));
}

}  // namespace pagolin
