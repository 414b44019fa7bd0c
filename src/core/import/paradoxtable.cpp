#include "core/import/paradoxtable.h"

extern "C" {
#include <paradox.h>
}

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "core/platform/datetime.h"

namespace pagolin {
namespace {

// Offsets in the header block of a table file.
constexpr std::size_t kRecordSize = 0x00, kHeaderSize = 0x02, kFileType = 0x04, kBlockSize = 0x05,
                      kRecordCount = 0x06, kUsedBlocks = 0x0A, kLastBlock = 0x10, kFieldCount = 0x21,
                      kFieldInfo = 0x78, kBlockHead = 6;

// Day 1 (1 January of the year 1) as a date-time is -693593; 30 December 1899 is day 693594.
constexpr long kDayOfDateTimeZero = 693594;
constexpr long kLastDay = 3652059;  // 31 December 9999
constexpr double kMsPerDay = 86400000.0;

unsigned Le16(const std::string& b, std::size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned>(static_cast<unsigned char>(b[at + 1]))
                                                 << 8;
}

unsigned long Le32(const std::string& b, std::size_t at) {
  return Le16(b, at) | static_cast<unsigned long>(Le16(b, at + 2)) << 16;
}

// The parts of the header pxlib relies on, checked against the file before pxlib reads it.
bool CheckHeader(const std::string& fileName, std::string& error) {
  std::ifstream in(fileName, std::ios::binary | std::ios::ate);
  if (!in) {
    error = "it cannot be opened for reading";
    return false;
  }
  const auto fileSize = static_cast<std::uint64_t>(in.tellg());
  if (fileSize < kFieldInfo + 2) {
    error = "it is too short to be a table file (" + std::to_string(fileSize) + " bytes)";
    return false;
  }
  std::string head(kFieldInfo + 2 * 255, '\0');
  in.seekg(0);
  in.read(head.data(), static_cast<std::streamsize>(std::min<std::uint64_t>(head.size(), fileSize)));
  const unsigned fileType = static_cast<unsigned char>(head[kFileType]);
  if (fileType != 0 && fileType != 2) {
    error =
        fileType <= 8 ? "it is an index file, not a table" : "it is no table file (a file of another kind)";
    return false;
  }
  const unsigned recordSize = Le16(head, kRecordSize), headerSize = Le16(head, kHeaderSize);
  const unsigned blockSize = static_cast<unsigned>(static_cast<unsigned char>(head[kBlockSize])) * 1024;
  const unsigned fieldCount = static_cast<unsigned char>(head[kFieldCount]);
  if (headerSize < 0x800 || headerSize % 0x800 != 0 || blockSize == 0 || blockSize > 32 * 1024 ||
      fieldCount == 0 || kFieldInfo + 2 * fieldCount > headerSize || recordSize == 0 ||
      recordSize + kBlockHead > blockSize) {
    error = "it is no table file (its header does not add up)";
    return false;
  }
  unsigned sum = 0;
  for (unsigned i = 0; i < fieldCount; ++i) sum += static_cast<unsigned char>(head[kFieldInfo + 2 * i + 1]);
  if (sum != recordSize) {
    error = "it is no table file (its fields do not fill its records)";
    return false;
  }
  const unsigned long records = Le32(head, kRecordCount);
  const unsigned usedBlocks = Le16(head, kUsedBlocks), lastBlock = Le16(head, kLastBlock);
  if (records > static_cast<unsigned long>(usedBlocks) * ((blockSize - kBlockHead) / recordSize)) {
    error = "its header counts more records than its blocks can hold";
    return false;
  }
  if (fileSize < headerSize + std::uint64_t{lastBlock} * blockSize) {
    error = "it is truncated (" + std::to_string(fileSize) + " bytes where its header asks for " +
            std::to_string(headerSize + std::uint64_t{lastBlock} * blockSize) + ")";
    return false;
  }
  return true;
}

void KeepMessage(pxdoc_t* doc, int, const char* message, void* data) {
  (void)doc;
  if (data && message) *static_cast<std::string*>(data) = message;
}

}  // namespace

TParadoxTable::TParadoxTable() = default;

TParadoxTable::~TParadoxTable() { Close(); }

void TParadoxTable::Close() {
  if (!doc_) return;
  PX_close(doc_);
  PX_delete(doc_);
  doc_ = nullptr;
}

bool TParadoxTable::Open(const std::string& fileName, std::string& error) {
  Close();
  fields_.clear();
  if (!CheckHeader(fileName, error)) return false;
  doc_ = PX_new3(KeepMessage, nullptr, nullptr, nullptr, &lastError_);
  if (!doc_ || PX_open_file(doc_, fileName.c_str()) < 0) {
    error = "pxlib cannot read it (" + lastError_ + ")";
    Close();
    return false;
  }
  const pxhead_t* head = doc_->px_head;
  codePage_ = head->px_doscodepage;
  recordCount_ = head->px_numrecords;
  recordSize_ = head->px_recordsize;
  int offset = 0;
  for (int i = 0; i < head->px_numfields; ++i) {
    const pxfield_t& f = head->px_fields[i];
    fields_.push_back(
        {f.px_fname ? f.px_fname : "", static_cast<unsigned char>(f.px_ftype), f.px_flen, offset});
    offset += f.px_flen;
  }
  if (offset != recordSize_) {
    error = "its fields do not fill its records";
    Close();
    return false;
  }
  return true;
}

bool TParadoxTable::ReadRecord(int recNo, std::string& record, std::string& error) {
  record.resize(static_cast<std::size_t>(recordSize_));
  if (!PX_get_record(doc_, recNo, record.data())) {
    error = "record " + std::to_string(recNo + 1) + " cannot be read (" + lastError_ + ")";
    return false;
  }
  return true;
}

std::optional<std::string> TParadoxTable::Alpha(const std::string& record, const TParadoxField& field) const {
  char* value = nullptr;
  char* data = const_cast<char*>(record.data()) + field.offset;
  if (PX_get_data_alpha(doc_, data, field.length, &value) <= 0 || !value) return std::nullopt;
  std::string text(value, strnlen(value, static_cast<std::size_t>(field.length)));
  doc_->free(doc_, value);
  if (text.empty()) return std::nullopt;
  return text;
}

std::optional<bool> TParadoxTable::Logical(const std::string& record, const TParadoxField& field,
                                           bool& ok) const {
  char value = 0;
  char* data = const_cast<char*>(record.data()) + field.offset;
  ok = true;
  if (PX_get_data_byte(doc_, data, 1, &value) == 0) return std::nullopt;
  ok = value == 0 || value == 1;
  return value == 1;
}

std::optional<double> TParadoxTable::Timestamp(const std::string& record, const TParadoxField& field) const {
  double value = 0;
  char* data = const_cast<char*>(record.data()) + field.offset;
  if (PX_get_data_double(doc_, data, 8, &value) <= 0) return std::nullopt;
  return value;
}

std::optional<long> TParadoxTable::Date(const std::string& record, const TParadoxField& field) const {
  long value = 0;
  char* data = const_cast<char*>(record.data()) + field.offset;
  if (PX_get_data_long(doc_, data, 4, &value) <= 0) return std::nullopt;
  return value;
}

bool TParadoxTable::TimestampToStorageText(double milliseconds, std::string& text) {
  if (!(milliseconds >= kMsPerDay && milliseconds < (kLastDay + 1) * kMsPerDay)) return false;
  const double ms = std::floor(milliseconds);
  const double days = std::floor(ms / kMsPerDay);
  text = DateTimeToStorageText(days - kDayOfDateTimeZero + (ms - days * kMsPerDay) / kMsPerDay);
  return true;
}

bool TParadoxTable::DateToStorageText(long days, std::string& text) {
  if (days < 1 || days > kLastDay) return false;
  text = DateTimeToStorageText(static_cast<TDateTime>(days - kDayOfDateTimeZero));
  return true;
}

std::string TParadoxTable::TypeName(int type) {
  switch (type) {
    case pxfAlpha: return "alpha";
    case pxfDate: return "date";
    case pxfShort: return "short number";
    case pxfLong: return "long number";
    case pxfCurrency: return "money";
    case pxfNumber: return "number";
    case pxfLogical: return "logical";
    case pxfMemoBLOb: return "memo";
    case pxfBLOb: return "binary";
    case pxfFmtMemoBLOb: return "formatted memo";
    case pxfOLE: return "OLE";
    case pxfGraphic: return "graphic";
    case pxfTime: return "time";
    case pxfTimestamp: return "timestamp";
    case pxfAutoInc: return "autoincrement";
    case pxfBCD: return "BCD";
    case pxfBytes: return "bytes";
    default: return "type " + std::to_string(type);
  }
}

}  // namespace pagolin
