// TParadoxTable: one old table file (".DB") read through pxlib: its fields, its code page, its
// records as raw bytes and their values. Opened for reading only; nothing is ever written.
//
// The memo parts of a record are not read here (see memoblockfile.h): the pxlib of Debian 12
// aborts as soon as a memo file is attached for reading.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct px_doc;

namespace pagolin {

struct TParadoxField {
  std::string name;
  int type = 0;    // the file's type code (kAlpha, ...)
  int length = 0;  // bytes in the record
  int offset = 0;  // where it starts in the record
};

class TParadoxTable {
 public:
  // Type codes of the fields a site table uses.
  static constexpr int kAlpha = 0x01, kDate = 0x02, kLogical = 0x09, kMemo = 0x0C, kTimestamp = 0x15;

  TParadoxTable();
  ~TParadoxTable();
  TParadoxTable(const TParadoxTable&) = delete;
  TParadoxTable& operator=(const TParadoxTable&) = delete;

  // Opens fileName. False with a reason (the caller names the file) when it is no table file
  // that can be read: missing, too short, truncated, of another kind (an index file, another
  // format), or with a header that does not add up. The header is checked before pxlib sees
  // the file.
  bool Open(const std::string& fileName, std::string& error);

  const std::vector<TParadoxField>& Fields() const { return fields_; }
  int CodePage() const { return codePage_; }
  int RecordCount() const { return recordCount_; }
  int RecordSize() const { return recordSize_; }

  // Record recNo (0-based, in the order of the file's blocks) into record, RecordSize() bytes.
  // False with a reason when it cannot be read.
  bool ReadRecord(int recNo, std::string& record, std::string& error);

  // The values of one field of a record read by ReadRecord; nullopt for an empty field.
  // Alpha: the bytes up to the first zero byte, in the table's code page.
  std::optional<std::string> Alpha(const std::string& record, const TParadoxField& field) const;
  // Logical: true or false; false in ok when the byte is no logical value.
  std::optional<bool> Logical(const std::string& record, const TParadoxField& field, bool& ok) const;
  // Timestamp: milliseconds since the start of 1 January of the year 1 (day 1 = that day).
  std::optional<double> Timestamp(const std::string& record, const TParadoxField& field) const;
  // Date: days, 1 January of the year 1 being day 1.
  std::optional<long> Date(const std::string& record, const TParadoxField& field) const;

  // The stored text of a timestamp or date ("YYYY-MM-DD HH:MM:SS", local time, the
  // milliseconds dropped); false when it lies outside the years 1 to 9999.
  static bool TimestampToStorageText(double milliseconds, std::string& text);
  static bool DateToStorageText(long days, std::string& text);

  // "alpha", "number", "memo", ... for messages.
  static std::string TypeName(int type);

 private:
  void Close();

  px_doc* doc_ = nullptr;
  std::string lastError_;  // pxlib's last message
  std::vector<TParadoxField> fields_;
  int codePage_ = 0;
  int recordCount_ = 0;
  int recordSize_ = 0;
};

}  // namespace pagolin
