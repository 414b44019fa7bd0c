// TTable::RestoreRecord: a record stored again exactly as it was read (the undo of a delete).
#include "core/platform/ttable.h"
#include "core/platform/ttable_impl.h"

namespace pagolin {

TRecordId TTable::RestoreRecord(const std::vector<TStoredValue>& values, TRecordId preferred) {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  const std::string table = QuoteIdentifier(def_.tableName);
  sqlite3_int64 rowid = 0;
  Write(
      [&] {
        bool keepId = false;
        if (preferred > 0) {
          TSqliteStmt taken;
          int rc = taken.Prepare(m.db.Handle(), "SELECT 1 FROM " + table + " WHERE rowid = ?");
          if (rc != SQLITE_OK) RaiseEngineError(rc, "restore a record in");
          taken.BindInt(1, preferred);
          rc = taken.Step();
          if (rc != SQLITE_ROW && rc != SQLITE_DONE) RaiseEngineError(rc, "restore a record in");
          keepId = rc == SQLITE_DONE;
        }
        std::string names = keepId ? "rowid" : "", params = keepId ? "?" : "";
        for (const TFieldDef& field : def_.fields) {
          names += (names.empty() ? "" : ", ") + QuoteIdentifier(field.name);
          params += params.empty() ? "?" : ", ?";
        }
        TSqliteStmt stmt;
        int rc =
            stmt.Prepare(m.db.Handle(), "INSERT INTO " + table + " (" + names + ") VALUES (" + params + ")");
        if (rc != SQLITE_OK) RaiseEngineError(rc, "restore a record in");
        int param = 0;
        if (keepId) stmt.BindInt(++param, preferred);
        // Every value as text: the columns' affinities give back the kind each was read from
        // (a logical read as "1" is stored as the integer it was).
        for (size_t i = 0; i < def_.fields.size(); ++i) {
          ++param;
          if (i < values.size() && values[i])
            stmt.BindText(param, *values[i]);
          else
            stmt.BindNull(param);
        }
        rc = stmt.Step();
        if (rc != SQLITE_DONE) RaiseEngineError(rc, "restore a record in");
        rowid = sqlite3_last_insert_rowid(m.db.Handle());
      },
      "restore a record in");
  LoadOrder(rowid);
  m.eof = m.bof = m.count == 0;
  Notify(TDataEvent::deDataSetChange, nullptr);
  return rowid;
}

}  // namespace pagolin
