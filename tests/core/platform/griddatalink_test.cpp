// TGridDataLink over the items table: the rows a grid shows, what it is told, and its moves.
#include "core/platform/griddatalink.h"

#include <gtest/gtest.h>

#include "support/itemstable.h"

namespace pagolin {
namespace {

class TGridDataLinkTest : public testing::TOpenItemsTest {
 protected:
  void SetUp() override {
    TOpenItemsTest::SetUp();
    link_.OnChange = [this](TGridChange change, int row) {
      static const char* const names[] = {"changed", "inserted", "removed", "reset"};
      told_ +=
          std::string(told_.empty() ? "" : " ") + names[static_cast<int>(change)] + ":" + std::to_string(row);
    };
    link_.SetDataSource(source_.get());
    told_.clear();
  }
  // The rows as shown: names, "*" before the current one, "+" for the inserted one.
  std::string Rows() {
    std::string s;
    for (int r = 0; r < link_.RowCount(); ++r) {
      if (!s.empty()) s += " ";
      if (r == link_.CurrentRow()) s += "*";
      s += r == link_.InsertRow() ? "+" + link_.Row(r).AsString(0) : link_.Row(r).AsString(0);
    }
    return s;
  }
  std::string Told() { return std::exchange(told_, std::string()); }

  TGridDataLink link_;
  std::string told_;
};

// Each step is a grid key or a command from elsewhere; after it the rows, what the grid was
// told and the table's state are as a person expects of such a grid.
TEST_F(TGridDataLinkTest, KeysAndCommandsGiveTheRowsAndChangesExpected) {
  struct TStep {
    const char* what;
    std::function<void()> run;
    const char* rows;
    const char* told;
  };
  auto name = [this](const char* n) { return [this, n] { table_->FieldByName("Name").SetAsString(n); }; };
  const TStep steps[] = {
      {"open", [] {}, "*a1 a2 b1 b2 c1", ""},
      {"down", [this] { link_.NextRow(true); }, "a1 *a2 b1 b2 c1", ""},
      {"insert", [this] { link_.Insert(); }, "a1 *+ a2 b1 b2 c1", "inserted:1"},
      {"down drops it", [this] { link_.NextRow(true); }, "a1 *a2 b1 b2 c1", "removed:1"},
      {"click c1", [this] { link_.MoveToRow(4); }, "a1 a2 b1 b2 *c1", ""},
      {"down appends", [this] { link_.NextRow(true); }, "a1 a2 b1 b2 c1 *+", "inserted:5"},
      {"down stays", [this] { link_.NextRow(true); }, "a1 a2 b1 b2 c1 *+", ""},
      {"up drops it", [this] { link_.PriorRow(); }, "a1 a2 b1 b2 *c1", "removed:5"},
      {"append", [this] { link_.Append(); }, "a1 a2 b1 b2 c1 *+", "inserted:5"},
      {"type", name("a0"), "a1 a2 b1 b2 c1 *+a0", "changed:5"},
      {"click b1: stored", [this] { link_.MoveToRow(2); }, "a0 a1 a2 *b1 b2 c1", "changed:-1"},
      {"edit", [this] { table_->Edit(); }, "a0 a1 a2 *b1 b2 c1", "changed:3"},
      {"type", name("z9"), "a0 a1 a2 *z9 b2 c1", "changed:3"},
      {"click a1: stored", [this] { link_.MoveToRow(1); }, "a0 *a1 a2 b2 z9 c1", "changed:-1"},
      {"leave grid", [this] { link_.LeaveGrid(); }, "a0 *a1 a2 b2 z9 c1", ""},
      {"delete", [this] { link_.Delete(false); }, "a0 *a2 b2 z9 c1", "removed:1"},
      {"insert, leave",
       [this] {
         link_.Insert();
         link_.LeaveGrid();
       },
       "a0 *a2 b2 z9 c1", "inserted:1 removed:1"},
      {"range", [this] { table_->SetRange("B", "C"); }, "*b2 z9 c1", "reset:-1"},
  };
  for (const TStep& step : steps) {
    step.run();
    EXPECT_EQ(Rows(), step.rows) << step.what;
    EXPECT_EQ(Told(), step.told) << step.what;
  }
  EXPECT_EQ(Scalar("SELECT group_concat(Name, ' ') FROM (SELECT Name FROM items ORDER BY Name)"),
            "a0 a2 b2 c1 z9");
}

TEST_F(TGridDataLinkTest, RowsAreReadAWindowAtATimeWithoutMovingTheCurrentRecord) {
  table_->EmptyTable();
  AddNumbered(1000);
  table_->Refresh();
  table_->SetRecNo(500);
  Told();
  // Rows far apart, backwards and forwards, and the current one.
  for (int row : {999, 0, 998, 450, 499, 120, 121, 700}) {
    ASSERT_EQ(link_.Row(row).AsString(0), "n" + std::to_string(1000 + row)) << row;
    ASSERT_EQ(link_.Row(row).AsString(4), row % 3 == 0 ? "" : "memo " + std::to_string(row)) << row;
  }
  EXPECT_EQ(table_->RecNo(), 500);
  EXPECT_EQ(link_.CurrentRow(), 499);
  EXPECT_EQ(link_.Row(-1).FieldCount(), 0);
  EXPECT_EQ(link_.Row(1000).FieldCount(), 0);
  // The edited record shows its buffer; other rows what the file holds.
  table_->Edit();
  table_->FieldByName("Name").SetAsString("typed");
  EXPECT_EQ(link_.Row(499).AsString(0), "typed");
  EXPECT_EQ(Told(), "changed:499 changed:499");
}

}  // namespace
}  // namespace pagolin
