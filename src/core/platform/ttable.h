// TTable: one local table kept in one SQLite file, walked in the order of its active index,
// with a current record, the browse/edit/insert states and data-source events. Texts are
// UTF-8 inside and in the file (a broken piece in a file reads as U+FFFD). Every post is one committed
// transaction.
//
// Errors (a missing or foreign file, a missing column, a locked file, a failed write) throw
// EDatabaseError with a message that names the file (and the column); the record being
// edited stays in its state, so nothing typed is lost.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/datetime.h"
#include "core/platform/dberror.h"

namespace pagolin {

enum class TFieldKind { fkText, fkMemo, fkLogical, fkDateTime };

// The identity of a record within its table file (its rowid). It stays the same while the
// record exists, whatever is edited and however the order moves; it may change only when a
// tool rebuilds the file (VACUUM), and a deleted record's identity may be given again to a
// later record. 0 is no record.
using TRecordId = std::int64_t;
// A value as the file holds it: UTF-8 text (logicals "1"/"0", date-times in the storage form),
// nullopt for null.
using TStoredValue = std::optional<std::string>;
enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

struct TFieldDef {
  std::string name;
  TFieldKind kind;
};

struct TIndexDef {
  std::string name;
  std::string columns;  // the SQL column list, e.g. "\"Date\" DESC"
};

// What a table file must hold: used to create it (the site tool) and to check it on open.
struct TTableDef {
  std::string fileName;   // "product.DB"
  std::string tableName;  // "product"
  std::vector<TFieldDef> fields;
  std::vector<TIndexDef> indexes;
};

class TTable;

// Reads a logical written as text: "True"/"False", "Yes"/"No" (any case), "1"/"0".
bool ParseLogical(const std::string& text, bool& value);

// A column of the current record (of the record buffer while editing or inserting).
class TField {
 public:
  const std::string& FieldName() const { return name_; }
  TFieldKind Kind() const { return kind_; }
  int Index() const { return index_; }

  bool IsNull() const;
  // Texts as stored; a logical reads "True"/"False"; a date-time in the "c" format of the
  // program's format settings; a null reads "".
  std::string AsString() const;
  bool AsBoolean() const;        // null reads false
  TDateTime AsDateTime() const;  // null reads 0
  // Writing needs the edit or insert state (EDatabaseError otherwise). A date-time field
  // written as text is parsed with the program's format settings; "" writes null.
  void SetAsString(const std::string& value);
  void SetAsBoolean(bool value);
  void SetAsDateTime(TDateTime value);
  void Clear();

  // The value in the file's form, and writing one as it is (no conversion; the edit or insert
  // state is needed, as for the setters above).
  TStoredValue Stored() const;
  void SetStored(TStoredValue value);
  // What SetAsString(text) would write, without writing it; EDatabaseError when the field
  // refuses the text.
  TStoredValue StoredFormOf(const std::string& text) const;

 private:
  friend class TTable;
  TField(TTable* table, std::string name, TFieldKind kind, int index)
      : table_(table), name_(std::move(name)), kind_(kind), index_(index) {}
  TTable* table_;
  std::string name_;
  TFieldKind kind_;
  int index_;
};

// The values of one record, read for showing (the rows of a grid), with the readings of
// TField. Valid while the table that read it exists.
class TRecordValues {
 public:
  TRecordValues() = default;
  // 0 for an empty row (a row that could not be read); every reading of it is null.
  int FieldCount() const { return static_cast<int>(values_.size()); }
  bool IsNull(int field) const;
  std::string AsString(int field) const;  // as TField::AsString
  bool AsBoolean(int field) const;        // null reads false
  TDateTime AsDateTime(int field) const;  // null and unreadable read 0
  // The short form a grid shows: a date-time in the short date and short time formats (the
  // time left out at midnight), a date that cannot be read as it is stored; else AsString.
  std::string DisplayText(int field) const;
  // The value in the file's form (nullopt for null and for a field out of range).
  TStoredValue Stored(int field) const;

 private:
  friend class TTable;
  TRecordValues(const TTableDef* def, std::vector<std::optional<std::string>> values)
      : def_(def), values_(std::move(values)) {}
  const TTableDef* def_ = nullptr;
  std::vector<std::optional<std::string>> values_;  // as stored (UTF-8)
};

// What a table tells its data sources.
enum class TDataEvent {
  deStateChange,   // State() changed
  deRecordChange,  // another record became current, or the whole record was refreshed
  deFieldChange,   // one field of the buffer was written (field given)
  deUpdateRecord,  // about to post: bound controls write their pending edits now
  deDataSetChange  // the table was opened, closed, emptied, filtered
};

class TDataSource {
 public:
  explicit TDataSource(TTable* dataSet);
  ~TDataSource();
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;

  TTable* DataSet() const { return dataSet_; }

  // The data source's own events (the module's handlers).
  std::function<void(TDataSource& sender)> OnStateChange;
  // field == nullptr: the record as a whole (moved to, refreshed, data set changed).
  std::function<void(TDataSource& sender, const TField* field)> OnDataChange;

  // Data-aware controls listen here; returns a handle for RemoveLink. A link that may outlive
  // the data source passes `gone`, which the destructor calls, after which the handle is void.
  int AddLink(std::function<void(TDataEvent event, const TField* field)> link,
              std::function<void()> gone = {});
  void RemoveLink(int handle);

 private:
  friend class TTable;
  struct TLink {
    int handle;
    std::function<void(TDataEvent, const TField*)> event;
    std::function<void()> gone;
  };
  void Notify(TDataEvent event, const TField* field);
  TTable* dataSet_;
  std::vector<TLink> links_;
  int nextHandle_ = 1;
};

// Work a table throws away: the written fields of a record whose edit or insert is cancelled,
// or a record deleted. A table tells its OnDiscard listener of each (TUndoHistory gives the
// work back).
struct TDiscardedWork {
  bool Deleted = false;  // a record deleted; else an edit or insert cancelled
  TRecordId Record = 0;  // the record; 0 for a cancelled insert
  // Per field: deleted, every stored value; cancelled, the value written, nullopt in Written's
  // false places.
  std::vector<TStoredValue> Values;
  std::vector<bool> Written;  // cancelled: the fields written since Insert or Edit; deleted: all
};

class TTable {
 public:
  explicit TTable(TTableDef def);
  ~TTable();  // closes; pending edits are posted if possible
  TTable(const TTable&) = delete;
  TTable& operator=(const TTable&) = delete;

  const TTableDef& Def() const { return def_; }
  const std::string& TableName() const { return def_.fileName; }
  // The folder that holds the file, with its trailing delimiter.
  void SetDatabasePath(const std::string& folder);
  std::string FilePath() const;

  // Opens the existing file (never creates one) and checks its columns and the active index;
  // the first record becomes current. Events: deStateChange, deDataSetChange. Opening reads
  // the number of records and the first of the order only; the rest of the order is read when
  // a position beyond them is first needed, and then shows what other programs changed in
  // the meantime, as Refresh does.
  void Open();
  // Posts pending edits first; when that fails the table stays open in its state and the
  // error is raised. Events: deStateChange, deDataSetChange.
  void Close();
  bool Active() const;
  // Deletes every record in one transaction, the table open (pending edits are dropped) or
  // closed (the file is opened for it and closed again).
  void EmptyTable();

  // Active index by name; the order of the walk. Setting it keeps the current record.
  void SetIndexName(const std::string& indexName);
  const std::string& IndexName() const { return indexName_; }

  void First();
  void Last();
  void Next();
  void Prior();
  bool Eof() const;
  bool Bof() const;
  bool IsEmpty() const;
  int RecNo() const;  // 1-based; 0 when empty or inserting
  void SetRecNo(int recNo);
  int RecordCount() const;

  // For a walk the bound controls need not follow: while disabled (calls nest), moves and
  // field writes are not told to the data sources; state changes and the call to write
  // pending edits still are. The last EnableControls tells one deDataSetChange when something
  // was held back, so the controls show the record the walk left current.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // Every move (First, Next, SetRecNo, Locate, ranges, index) first posts pending edits, like
  // a classic data set; when that post fails the move does not happen and the error is raised.
  TDataSetState State() const { return state_; }
  // A new empty record buffer; the position before it is kept for Cancel.
  // Events: deStateChange, deRecordChange (a state-change handler may already post it).
  void Insert();
  void Append();  // same as Insert: the record goes to where its index puts it
  void Edit();    // an empty table goes to insert instead. Event: deStateChange
  // Stores the buffer in one committed transaction; the record then takes its place in the
  // index order and is current. Events: deUpdateRecord, deStateChange, deRecordChange. On
  // failure (locked file, record deleted meanwhile) the state and the buffer stay as they were.
  // An edited record is written field by field: only the fields written since Edit change in
  // the file, and when none was written the file is not touched at all.
  void Post();
  // A field was written since Insert or Edit (false in browse state).
  bool Modified() const;
  // Has the bound controls write their pending edits into the record buffer now, as a post
  // does first, without storing it. Nothing outside the edit and insert states. A field that
  // refuses a control's value raises EDatabaseError; that edit stays pending.
  void UpdateRecord();
  // Drops the buffer; after an insert the record current before it is current again.
  void Cancel();
  // Deletes the current record (in insert state: cancels); the next record becomes current,
  // or the new last one. EDatabaseError on an empty table.
  void Delete();
  // Re-reads the order and the current record (after another program changed the file).
  void Refresh();

  // Told after Cancel dropped a buffer with written fields (not for an untouched one) and
  // after Delete removed a record (its stored values as they were), before the data sources
  // hear of it. One listener (the table's undo history).
  std::function<void(const TDiscardedWork& work)> OnDiscard;
  // Stores a record with these values exactly as given (the file's form, one per field, in
  // Fields() order) in one committed transaction, under the identity `preferred` when no
  // record has it (else a new one), and makes it current. Pending edits are posted first.
  // Events: deDataSetChange. Returns the record's identity. EDatabaseError on failure, with
  // nothing stored.
  TRecordId RestoreRecord(const std::vector<TStoredValue>& values, TRecordId preferred);

  TField& FieldByName(const std::string& name);  // EDatabaseError for an unknown name
  TField* FindField(const std::string& name);
  const std::vector<std::unique_ptr<TField>>& Fields() const { return fields_; }

  // Restricts the walk to the records whose first field of the active index lies between the
  // two values (equal values select one key); the first of them becomes current. Needs an
  // active index. Values are texts in the core's terms (dates and logicals as they read).
  void SetRange(const std::string& startValue, const std::string& endValue);
  void CancelRange();
  bool HasRange() const;
  // Makes the first record (in index order, within a range) whose field equals value the
  // current one; false (position unchanged) when there is none.
  bool Locate(const std::string& fieldName, const std::string& value);

  // The identity of the current record (also while it is edited); 0 when the table is empty,
  // closed or inserting.
  TRecordId RecordId() const;
  // Makes the record with this identity current; false (position unchanged) when it is not in
  // the walk: deleted, outside the range, or added by another program since the last Refresh.
  bool LocateRecord(TRecordId id);

  // A write transaction over the file, for work that must not start unless its result can be
  // stored. StartTransaction takes the file's write lock, waiting up to the busy time for
  // another program; EDatabaseError when the file cannot be written (locked past the wait,
  // read-only). Until Commit or Rollback, posts go into the transaction: the first post
  // writes the engine's journal, so a folder that cannot take it fails there, and other
  // programs see nothing of them. Only one transaction at a time. REQUIRES: the table is open.
  void StartTransaction();
  // Makes the posts of the transaction durable and visible (pending edits are posted first).
  // On failure (EDatabaseError: another program still reading past the busy wait, a full
  // disk) the transaction stays open, to be committed again or rolled back; when the engine
  // has already undone it, InTransaction() is false.
  void Commit();
  // Undoes the posts of the transaction and drops pending edits; the current record stays
  // current. The file is then read again: only that reading can fail (EDatabaseError), the
  // transaction is undone in any case. Does nothing without a transaction.
  void Rollback();
  bool InTransaction() const;

  // ---- Reading rows for a view (a grid) -------------------------------------------------
  // The records at walk positions first .. first + count - 1 (0-based: position = RecNo() - 1),
  // clipped to the records there are, as stored in the file: the record being edited shows
  // its stored values, not the buffer. Reading moves nothing: the current record, Eof and Bof,
  // the state, the buffer and Modified stay as they are, and no event is sent. Positions are
  // those of the order read at the last Open, post, delete, range, index change or Refresh; a
  // record another program has deleted since reads as all null.
  // fields: the indexes (in Fields()) of the fields to read; the others read as null. All
  // fields when it is empty.
  // REQUIRES: Active(). Throws EDatabaseError when the file cannot be read.
  std::vector<TRecordValues> ReadRows(int first, int count, const std::vector<int>& fields = {}) const;
  // The current record's values (the buffer while editing or inserting); empty when there is
  // no current record.
  TRecordValues CurrentValues() const;

  // Writes buffered changes to the file. Posts are committed as they happen, so this only
  // makes sure nothing is pending in the engine.
  void FlushBuffers();

  // How long an operation waits for a file another program holds (default 2000 ms).
  void SetBusyTimeout(int milliseconds);

 private:
  friend class TField;
  friend class TDataSource;
  struct Impl;

  void Attach(TDataSource* source);
  void Detach(TDataSource* source);
  void Notify(TDataEvent event, const TField* field);
  void SetState(TDataSetState state);
  // Posts pending edits (moving while editing posts, like a classic data set).
  void CheckBrowseMode();
  void CheckActive() const;
  // The value of a column of the current record or of the record buffer (UTF-8, as stored);
  // nullptr when null or when there is no current record.
  const std::optional<std::string>* CurrentValue(int index) const;
  void WriteValue(TField& field, std::optional<std::string> utf8);
  void MoveTo(int position, bool notify);
  std::string Where() const;  // "table file \"x\" in folder \"y\"" for messages
  void ChooseOrder(const std::string& indexName);
  void LoadOrder(long long keepRowId);
  // The order's rowids from the start (all when limit < 0), and how many records the walk has.
  std::vector<long long> ReadOrder(int limit);
  int CountRecords();
  // The rowid at a walk position, reading the rest of the order when the position lies beyond
  // what was read; 0 when there is no such position (any more).
  long long RowIdAt(int position);
  void CompleteOrder();
  void LoadWindow();
  // Fetches the records at positions start .. end - 1 in one read transaction, each into the
  // row next() gives (all null for a record another program deleted); only the fields set in
  // wanted (all when it is empty).
  void FetchRows(int start, int end, const std::function<std::vector<std::optional<std::string>>&()>& next,
                 const std::vector<bool>& wanted = {});
  void Write(const std::function<void()>& body, const std::string& what);
  [[noreturn]] void RaiseEngineError(int rc, const std::string& what);
  // A value given as text in the core's terms, as the file stores it (for ranges, Locate).
  std::string ValueForColumn(const std::string& fieldName, const std::string& value);

  TTableDef def_;
  std::string folder_;
  std::string indexName_;
  TDataSetState state_ = TDataSetState::dsInactive;
  std::vector<std::unique_ptr<TField>> fields_;
  std::vector<TDataSource*> sources_;
  int disableCount_ = 0;
  bool heldBack_ = false;  // an event was not told while the controls were disabled
  std::unique_ptr<Impl> impl_;
};

// Disables the controls of a table until Enable() or the end of its lifetime.
class TControlsDisabled {
 public:
  explicit TControlsDisabled(TTable& table) : table_(table) { table_.DisableControls(); }
  // Without Enable(): enables the controls, dropping an error of their refresh, because the
  // walk is ending with an error of its own, which is the one to report.
  ~TControlsDisabled() {
    try {
      Enable();
    } catch (const std::exception&) {
    }
  }
  TControlsDisabled(const TControlsDisabled&) = delete;
  TControlsDisabled& operator=(const TControlsDisabled&) = delete;

  // Enables the controls now (once); an error of their refresh propagates.
  void Enable() {
    if (enabled_) return;
    enabled_ = true;
    table_.EnableControls();
  }

 private:
  bool enabled_ = false;
  TTable& table_;
};

}  // namespace pagolin
