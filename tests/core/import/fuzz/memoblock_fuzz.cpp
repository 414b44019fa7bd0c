// Fuzz target of the memo file reader. The input is a record's memo field and a memo file:
//   byte 0          the leader's length (modulo 64)
//   then            the leader, the ten bytes of location, length and modification number
//   the rest        the memo file
// The field is read as it is, and again with its location moved to every entry of the same
// block (which also runs the reader's block cache), each twice: a memo read must have the
// length the field says and begin with the leader, and a second read must give the same.
#include "core/import/memoblockfile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

using pagolin::ReadMemoField;
using pagolin::TMemoBlockFile;
using pagolin::TMemorySource;

namespace {

void Fail(const char* condition, int line) {
  std::fprintf(stderr, "memoblock_fuzz.cpp:%d: check failed: %s\n", line, condition);
  std::abort();
}
#define Check(condition) ((condition) ? (void)0 : Fail(#condition, __LINE__))

std::uint32_t Le32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
  return v;
}

void ReadTwice(const std::string& field, TMemoBlockFile& file) {
  std::optional<std::string_view> view;
  std::string error;
  const bool ok = ReadMemoField(field, &file, view, error);
  Check(ok || !error.empty());
  const std::optional<std::string> first(view);  // the view lasts until the next read only
  Check(ReadMemoField(field, &file, view, error) == ok);
  Check(first == view);
  if (!ok || !first) return;
  const std::size_t leader = field.size() - 10;
  Check(first->size() == Le32(field, leader + 4));
  Check(first->compare(0, leader, field, 0, std::min(leader, first->size())) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t leader = 1 + data[0] % 64;
  if (size < 1 + leader + 10) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string field = input.substr(1, leader + 10);
  TMemoBlockFile file(std::make_unique<TMemorySource>(input.substr(1 + leader + 10)));
  std::string error;
  const bool header = file.CheckHeader(error);
  Check(header || !error.empty());
  ReadTwice(field, file);
  for (unsigned entry : {0u, 1u, 31u, 62u, 63u, 64u, 0xFFu}) {
    field[leader] = static_cast<char>(entry);
    ReadTwice(field, file);
  }
  return 0;
}
