// Memos of an old table: the part kept in the record and the memo file (".MB") that holds
// every memo too long for it.
//
// A memo field in a record is its leader (a copy of the memo's first bytes) followed by ten
// bytes, little-endian: the location (4), the length (4) and a modification number (2). A
// location of 0 means the memo lies wholly in the leader. Otherwise its upper three bytes are
// the offset of a block of the memo file and its low byte says where in the block:
//   - 0xFF: a block of its own (type 2): a 9-byte head (type, count of 4 KB units, length,
//     modification number), then the data;
//   - 0 to 63: an entry of a suballocated 4 KB block (type 3), which shares its space among
//     up to 64 short memos: a 12-byte head, 64 entries of 5 bytes at offset 12 (data offset
//     in 16-byte chunks, chunk count, modification number, bytes used in the last chunk; 0
//     for a deleted memo), then the data.
// The first 4 KB block is the file's header (type 0); type 4 marks free space.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pagolin {

// Where the bytes of a memo file come from: a file, or memory (tests and fuzzing).
class TRandomAccessSource {
 public:
  virtual ~TRandomAccessSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads n bytes at offset into out; false when they are not all there.
  virtual bool ReadAt(std::uint64_t offset, std::size_t n, char* out) = 0;
};

class TMemorySource : public TRandomAccessSource {
 public:
  explicit TMemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, std::size_t n, char* out) override;

 private:
  std::string bytes_;
};

// A file opened for reading only (POSIX pread: one call per read, no seeking).
class TFileSource : public TRandomAccessSource {
 public:
  // nullptr with a readable reason in error when the file cannot be opened.
  static std::unique_ptr<TFileSource> Open(const std::string& fileName, std::string& error);
  ~TFileSource() override;
  TFileSource(const TFileSource&) = delete;
  TFileSource& operator=(const TFileSource&) = delete;
  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, std::size_t n, char* out) override;

 private:
  TFileSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  int fd_;
  std::uint64_t size_;
};

// The ten bytes after a memo field's leader.
struct TMemoRef {
  std::uint32_t location = 0;
  std::uint32_t length = 0;
  std::uint16_t modification = 0;
};

class TMemoBlockFile {
 public:
  static constexpr std::size_t kBlockSize = 4096;

  explicit TMemoBlockFile(std::unique_ptr<TRandomAccessSource> source);
  TMemoBlockFile(const TMemoBlockFile&) = delete;
  TMemoBlockFile& operator=(const TMemoBlockFile&) = delete;

  // False with a reason when the source does not start with a memo file's header block.
  bool CheckHeader(std::string& error);
  // The memo ref points at, whose first bytes must equal leader; memo views this object's
  // buffer and stays valid until the next ReadMemo. False with a reason when the file does
  // not hold it as ref says (nothing is guessed). REQUIRES: ref.location != 0.
  bool ReadMemo(const TMemoRef& ref, std::string_view leader, std::string_view& memo, std::string& error);

 private:
  // Makes buffer_ hold at least size bytes of block (size >= 1, within the file).
  bool Fill(std::uint64_t block, std::uint64_t size, std::string& error);
  bool ReadOwnBlock(std::uint64_t block, unsigned entry, const TMemoRef& ref, std::string_view& memo,
                    std::string& error);
  bool ReadSharedBlock(std::uint64_t block, unsigned entry, const TMemoRef& ref, std::string_view& memo,
                       std::string& error);

  std::unique_ptr<TRandomAccessSource> source_;
  // The start of the block read last (a whole shared block, or a memo's own block up to the
  // memo's end).
  std::uint64_t bufferBlock_ = 0;
  std::string buffer_;
};

// The memo of one record field (leader and the ten bytes; at least 11 bytes): memo views the
// field or the file's buffer (valid until the file's next read), nullopt for an empty memo
// (length 0). file may be nullptr when the table has no memo file; a memo that needs it then
// fails. False with a reason when the memo cannot be read.
bool ReadMemoField(std::string_view field, TMemoBlockFile* file, std::optional<std::string_view>& memo,
                   std::string& error);

}  // namespace pagolin
