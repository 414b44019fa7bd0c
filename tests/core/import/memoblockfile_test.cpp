#include "core/import/memoblockfile.h"

#include <gtest/gtest.h>

#include "core/import/paradoxtable.h"
#include "support/paradoxwriter.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

std::string Le(std::uint64_t value, int bytes) {
  std::string b;
  for (int i = 0; i < bytes; ++i) b += static_cast<char>((value >> (8 * i)) & 0xFF);
  return b;
}

// A memo field of a record: leader, location, length, modification number.
std::string Field(const std::string& leader, std::uint32_t location, std::uint32_t length) {
  return leader + Le(location, 4) + Le(length, 4) + Le(1, 2);
}

const std::string kShared(100, 's'), kOwn = std::string(3000, 'o') + "end";

// Header at 0; a shared block at 4096 (entry 63: kShared, entry 61 pointing into the entry
// table); a block of its own at 8192 holding kOwn; a free block at 12288; a block at 16384
// that claims 5000 bytes in one unit; a block at 20480 cut off by the end of the file.
std::string MemoFile() {
  std::string f(4096, '\0');
  f[1] = 1;
  std::string shared(4096, '\0');
  shared[0] = 3;
  shared[1] = 1;
  shared.replace(12 + 5 * 63, 5, "\x15\x07\x01\x00\x04", 5);  // at 0x150, 7 chunks, 4 in the last
  shared.replace(12 + 5 * 61, 5, "\x01\x01\x01\x00\x10", 5);
  shared.replace(0x150, kShared.size(), kShared);
  std::string own = "\x02" + Le(1, 2) + Le(kOwn.size(), 4) + Le(1, 2) + kOwn;
  own.resize(4096, '\0');
  std::string free(4096, '\0');
  free[0] = 4;
  free[1] = 1;
  std::string tooLong = "\x02" + Le(1, 2) + Le(5000, 4) + Le(1, 2);
  tooLong.resize(4096, '\0');
  const std::string cut = "\x02" + Le(1, 2) + Le(200, 4) + Le(1, 2) + std::string(50, 'c');
  return f + shared + own + free + tooLong + cut;
}

TEST(MemoBlockFile, ReadsWhatTheFieldSaysOrRefusesWithTheReason) {
  struct Case {
    const char* what;
    std::string field;
    bool withFile;
    std::optional<std::string> memo;  // when read
    const char* reason;               // else: a part of the message
  };
  const std::string lead = kShared.substr(0, 10), leadOwn = kOwn.substr(0, 10);
  const std::vector<Case> cases = {
      {"empty", Field(std::string(10, '\0'), 0, 0), true, std::nullopt, nullptr},
      {"in the record", Field("abc" + std::string(7, '\0'), 0, 3), false, "abc", nullptr},
      {"a whole leader", Field("0123456789", 0, 10), false, "0123456789", nullptr},
      {"shared block", Field(lead, 4096 + 63, 100), true, kShared, nullptr},
      {"own block", Field(leadOwn, 8192 + 0xFF, static_cast<std::uint32_t>(kOwn.size())), true, kOwn,
       nullptr},
      {"longer than the record, no place", Field(lead, 0, 100), true, {}, "no place in the memo file"},
      {"no memo file", Field(lead, 4096 + 63, 100), false, {}, "needs the memo file"},
      {"the header", Field(lead, 0xFF, 100), true, {}, "no data block"},
      {"not a block start", Field(lead, 5000 + 0xFF, 100), true, {}, "no data block"},
      {"beyond the end", Field(lead, 40960 + 0xFF, 100), true, {}, "beyond the end"},
      {"free block", Field(lead, 12288 + 0xFF, 100), true, {}, "block type 4"},
      {"own block as shared", Field(leadOwn, 8192 + 3, 3003), true, {}, "as if it were shared"},
      {"own block, other length", Field(leadOwn, 8192 + 0xFF, 2999), true, {}, "its record says 2999"},
      {"own block too long", Field(std::string(10, '\0'), 16384 + 0xFF, 5000), true, {}, "runs past"},
      {"own block cut off", Field(std::string(10, 'c'), 20480 + 0xFF, 200), true, {}, "cut off"},
      {"deleted entry", Field(lead, 4096 + 62, 100), true, {}, "deleted"},
      {"entry 64", Field(lead, 4096 + 64, 100), true, {}, "which has 64"},
      {"entry into the table", Field(std::string(10, '\0'), 4096 + 61, 16), true, {}, "points outside"},
      {"shared, other length", Field(lead, 4096 + 63, 99), true, {}, "its record says 99"},
      {"other leader", Field("XXXXXXXXXX", 4096 + 63, 100), true, {}, "does not begin"},
  };
  TMemoBlockFile file(std::make_unique<TMemorySource>(MemoFile()));
  std::string error;
  ASSERT_TRUE(file.CheckHeader(error)) << error;
  for (const Case& c : cases) {
    std::optional<std::string_view> memo = "before";
    error.clear();
    const bool ok = ReadMemoField(c.field, c.withFile ? &file : nullptr, memo, error);
    EXPECT_EQ(ok, c.reason == nullptr) << c.what << ": " << error;
    if (c.reason)
      EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    else
      EXPECT_EQ(memo, c.memo) << c.what;
  }
  TMemoBlockFile notMemo(std::make_unique<TMemorySource>(std::string(4096, 'x')));
  EXPECT_FALSE(notMemo.CheckHeader(error));
  TMemoBlockFile tooShort(std::make_unique<TMemorySource>(std::string(100, '\0')));
  EXPECT_FALSE(tooShort.CheckHeader(error));
}

// Memos of every length pxlib writes: empty, in the record, shared blocks, blocks of their own.
TEST(MemoBlockFile, ReadsBackEveryMemoPxlibWrote) {
  testing::TTempFolder folder;
  const std::vector<std::size_t> lengths = {0, 1, 20, 21, 64, 700, 2048, 2049, 9000, 70000, 64, 1500, 300};
  std::vector<testing::TPxRecord> records;
  std::vector<std::string> memos;
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    std::string memo;
    for (std::size_t k = 0; k < lengths[i]; ++k) memo += static_cast<char>('A' + (k * 7 + i) % 26);
    memos.push_back(memo);
    records.push_back({memo.empty() ? std::nullopt : std::optional<std::string>(memo)});
  }
  const std::string db = folder.Path() + "memo.db", mb = folder.Path() + "MEMO.MB";
  testing::WriteParadoxTable(db, mb, 1252, {{"Text", pxfMemoBLOb, 30}}, records);

  TParadoxTable table;
  std::string error, record;
  ASSERT_TRUE(table.Open(db, error)) << error;
  std::unique_ptr<TFileSource> source = TFileSource::Open(mb, error);
  ASSERT_TRUE(source) << error;
  TMemoBlockFile file(std::move(source));
  ASSERT_TRUE(file.CheckHeader(error)) << error;
  ASSERT_EQ(table.RecordCount(), static_cast<int>(lengths.size()));
  for (int r = 0; r < table.RecordCount(); ++r) {
    ASSERT_TRUE(table.ReadRecord(r, record, error)) << error;
    std::optional<std::string_view> memo;
    ASSERT_TRUE(ReadMemoField(record, &file, memo, error)) << "record " << r << ": " << error;
    EXPECT_EQ(memo.value_or(""), memos[static_cast<std::size_t>(r)]) << "record " << r;
    EXPECT_EQ(memo.has_value(), !memos[static_cast<std::size_t>(r)].empty());
  }
}

}  // namespace
}  // namespace pagolin
