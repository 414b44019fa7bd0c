// Which navigator buttons a data set's state enables.
#include "core/platform/dbnavigation.h"

#include <gtest/gtest.h>

#include "support/itemstable.h"

namespace pagolin {
namespace {

using TNavigatorTest = testing::TItemsTableTest;

// The enabled buttons, in the order first prior next last insert delete edit post cancel refresh.
std::string Enabled(const TTable* table, bool readOnly = false) {
  std::string s;
  for (TNavigateBtn b : kAllNavigateBtns) s += NavigatorButtonEnabled(table, b, readOnly) ? '1' : '0';
  return s;
}

TEST_F(TNavigatorTest, EachButtonIsEnabledAsTheStateAllows) {
  AddSample();
  auto t = OpenTable("CatName");
  const struct {
    const char* state;
    std::function<void()> reach;
    const char* enabled;
    const char* readOnly;
  } cases[] = {
      {"first record", [&] { t->First(); }, "0011111001", "0011000001"},
      {"middle record", [&] { t->SetRecNo(3); }, "1111111001", "1111000001"},
      {"last record", [&] { t->Last(); }, "1100111001", "1100000001"},
      {"editing", [&] { t->Edit(); }, "1100110110", "1100000000"},
      {"inserting", [&] { t->Insert(); }, "1111110110", "1111000000"},
      {"empty",
       [&] {
         t->Cancel();
         t->EmptyTable();
       },
       "0000101001", "0000000001"},
      {"closed", [&] { t->Close(); }, "0000000000", "0000000000"},
  };
  for (const auto& c : cases) {
    c.reach();
    EXPECT_EQ(Enabled(t.get()), c.enabled) << c.state;
    EXPECT_EQ(Enabled(t.get(), true), c.readOnly) << c.state;
  }
  EXPECT_EQ(Enabled(nullptr), "0000000000");
}

}  // namespace
}  // namespace pagolin
