#include "core/import/memoblockfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace pagolin {
namespace {

std::uint32_t Le32(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return static_cast<std::uint32_t>(u[0]) | static_cast<std::uint32_t>(u[1]) << 8 |
         static_cast<std::uint32_t>(u[2]) << 16 | static_cast<std::uint32_t>(u[3]) << 24;
}

std::uint16_t Le16(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return static_cast<std::uint16_t>(u[0] | u[1] << 8);
}

std::string At(std::uint64_t offset) { return "at offset " + std::to_string(offset) + " of the memo file"; }

constexpr unsigned kEntries = 64;
constexpr std::size_t kSharedHead = 12, kEntrySize = 5, kOwnHead = 9;

}  // namespace

bool TMemorySource::ReadAt(std::uint64_t offset, std::size_t n, char* out) {
  if (offset > bytes_.size() || n > bytes_.size() - offset) return false;
  std::memcpy(out, bytes_.data() + offset, n);
  return true;
}

std::unique_ptr<TFileSource> TFileSource::Open(const std::string& fileName, std::string& error) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    error = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<TFileSource>(new TFileSource(fd, static_cast<std::uint64_t>(st.st_size)));
}

TFileSource::~TFileSource() { ::close(fd_); }

bool TFileSource::ReadAt(std::uint64_t offset, std::size_t n, char* out) {
  if (offset > size_ || n > size_ - offset) return false;
  while (n > 0) {
    const ssize_t got = ::pread(fd_, out, n, static_cast<off_t>(offset));
    if (got <= 0) {
      if (got < 0 && errno == EINTR) continue;
      return false;
    }
    out += got;
    n -= static_cast<std::size_t>(got);
    offset += static_cast<std::uint64_t>(got);
  }
  return true;
}

TMemoBlockFile::TMemoBlockFile(std::unique_ptr<TRandomAccessSource> source) : source_(std::move(source)) {}

bool TMemoBlockFile::CheckHeader(std::string& error) {
  char head[3];
  if (source_->Size() < kBlockSize || !source_->ReadAt(0, sizeof head, head)) {
    error = "it is shorter than a memo file's header";
    return false;
  }
  if (head[0] != 0 || Le16(head + 1) == 0) {
    error = "it does not start with a memo file's header";
    return false;
  }
  return true;
}

bool TMemoBlockFile::ReadMemo(const TMemoRef& ref, std::string_view leader, std::string_view& memo,
                              std::string& error) {
  const std::uint64_t block = ref.location & 0xFFFFFF00u;
  const unsigned entry = ref.location & 0xFFu;
  if (block < kBlockSize || block % kBlockSize != 0) {
    error = "its place in the memo file (" + std::to_string(block) + ") is no data block";
    return false;
  }
  if (block >= source_->Size()) {
    error = "it lies beyond the end of the memo file (" + At(block) + ")";
    return false;
  }
  // A memo's own block is read up to the memo's end, a shared block whole (and kept: memos
  // written one after the other share it).
  const std::uint64_t left = source_->Size() - block;
  if (!Fill(block, std::min<std::uint64_t>(left, kOwnHead + std::uint64_t{ref.length}), error)) return false;
  if (buffer_[0] == 3 && !Fill(block, std::min<std::uint64_t>(left, kBlockSize), error)) return false;
  bool ok = false;
  if (buffer_[0] == 2)
    ok = ReadOwnBlock(block, entry, ref, memo, error);
  else if (buffer_[0] == 3)
    ok = ReadSharedBlock(block, entry, ref, memo, error);
  else
    error = "the memo file holds no memo " + At(block) + " (block type " +
            std::to_string(static_cast<unsigned char>(buffer_[0])) + ")";
  if (ok && memo.substr(0, leader.size()) != leader) {
    error = "the memo " + At(block) + " does not begin as its record says";
    ok = false;
  }
  if (!ok) memo = {};
  return ok;
}

bool TMemoBlockFile::Fill(std::uint64_t block, std::uint64_t size, std::string& error) {
  if (!buffer_.empty() && bufferBlock_ == block && buffer_.size() >= size) return true;
  buffer_.resize(static_cast<std::size_t>(std::max<std::uint64_t>(size, 1)));
  if (!source_->ReadAt(block, buffer_.size(), buffer_.data())) {
    buffer_.clear();
    error = "the memo file cannot be read " + At(block);
    return false;
  }
  bufferBlock_ = block;
  return true;
}

bool TMemoBlockFile::ReadOwnBlock(std::uint64_t block, unsigned entry, const TMemoRef& ref,
                                  std::string_view& memo, std::string& error) {
  if (entry != 0xFF) {
    error = "the record points into a single-memo block " + At(block) + " as if it were shared";
    return false;
  }
  if (buffer_.size() < kOwnHead) {
    error = "the memo " + At(block) + " is cut off";
    return false;
  }
  const std::uint64_t units = Le16(buffer_.data() + 1);
  const std::uint32_t length = Le32(buffer_.data() + 3);
  if (length != ref.length) {
    error = "the memo " + At(block) + " is " + std::to_string(length) + " bytes long, its record says " +
            std::to_string(ref.length);
    return false;
  }
  if (kOwnHead + std::uint64_t{length} > units * kBlockSize) {
    error = "the memo " + At(block) + " runs past the end of its block";
    return false;
  }
  if (kOwnHead + std::uint64_t{length} > buffer_.size()) {
    error = "the memo " + At(block) + " is cut off at the end of the memo file";
    return false;
  }
  memo = std::string_view(buffer_).substr(kOwnHead, length);
  return true;
}

bool TMemoBlockFile::ReadSharedBlock(std::uint64_t block, unsigned entry, const TMemoRef& ref,
                                     std::string_view& memo, std::string& error) {
  if (entry >= kEntries) {
    error = "the record points to entry " + std::to_string(entry) + " of the shared block " + At(block) +
            ", which has 64";
    return false;
  }
  if (buffer_.size() < kBlockSize) {
    error = "the shared block " + At(block) + " is cut off";
    return false;
  }
  const char* e = buffer_.data() + kSharedHead + kEntrySize * entry;
  const std::size_t start = static_cast<std::size_t>(static_cast<unsigned char>(e[0])) * 16;
  const std::size_t chunks = static_cast<unsigned char>(e[1]);
  const std::size_t last = static_cast<unsigned char>(e[4]);
  if (start == 0 || last == 0) {
    error = "entry " + std::to_string(entry) + " of the shared block " + At(block) + " holds a deleted memo";
    return false;
  }
  if (chunks == 0 || last > 16) {
    error = "entry " + std::to_string(entry) + " of the shared block " + At(block) + " is damaged";
    return false;
  }
  const std::size_t length = (chunks - 1) * 16 + last;
  if (length != ref.length) {
    error = "the memo " + At(block) + " (entry " + std::to_string(entry) + ") is " + std::to_string(length) +
            " bytes long, its record says " + std::to_string(ref.length);
    return false;
  }
  if (start < kSharedHead + kEntrySize * kEntries || start + length > kBlockSize) {
    error =
        "entry " + std::to_string(entry) + " of the shared block " + At(block) + " points outside its data";
    return false;
  }
  memo = std::string_view(buffer_).substr(start, length);
  return true;
}

bool ReadMemoField(std::string_view field, TMemoBlockFile* file, std::optional<std::string_view>& memo,
                   std::string& error) {
  memo.reset();
  if (field.size() < 11) {
    error = "the memo field is shorter than 11 bytes";
    return false;
  }
  const std::string_view leader = field.substr(0, field.size() - 10);
  const char* tail = field.data() + leader.size();
  const TMemoRef ref{Le32(tail), Le32(tail + 4), Le16(tail + 8)};
  if (ref.length == 0) return true;
  if (ref.length <= leader.size()) {
    memo = leader.substr(0, ref.length);
    return true;
  }
  if (ref.location == 0) {
    error = "the memo is longer than the part kept in its record, but has no place in the memo file";
    return false;
  }
  if (!file) {
    error = "the memo needs the memo file";
    return false;
  }
  std::string_view text;
  if (!file->ReadMemo(ref, leader, text, error)) return false;
  memo = text;
  return true;
}

}  // namespace pagolin
