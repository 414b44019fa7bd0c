// TUndoHistory over a real table file: cancelled edits and deleted records given back.
#include "core/platform/undohistory.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/itemstable.h"

namespace pagolin {
namespace {

class UndoHistoryTest : public testing::TOpenItemsTest {
 protected:
  // Every stored byte of the record named name, its identity and each value's kind included.
  std::string Row(const std::string& name) {
    return Scalar(
        "SELECT rowid || '|' || quote(Cat) || quote(\"When\") || quote(Flag) || typeof(Flag) || "
        "quote(CAST(Memo AS BLOB)) FROM items WHERE Name = '" +
        name + "'");
  }
  std::string Name() { return table_->FieldByName("Name").AsString(); }
  void SetUp() override {
    TOpenItemsTest::SetUp();
    history_ = std::make_unique<TUndoHistory>(*table_, "Name");
  }
  void TearDown() override {
    history_.reset();
    TOpenItemsTest::TearDown();
  }
  std::unique_ptr<TUndoHistory> history_;
};

TEST_F(UndoHistoryTest, ADeletedRecordComesBackByteForByteUnderItsIdentity) {
  // Rich text with characters beyond the code page, as another program may have stored it.
  Sql("UPDATE items SET Memo = '{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\plain\\f0\\fs20 \\b '"
      " || char(321) || 'odz \\u8364 ?\\par }' || char(13, 10) WHERE Name = 'a1'");
  const std::string before = Row("a1");
  ASSERT_TRUE(table_->Locate("Name", "a1"));
  table_->Delete();
  EXPECT_EQ(Row("a1"), "<none>");
  EXPECT_EQ(history_->UndoCaption(), "Undo delete of a1");
  ASSERT_TRUE(history_->Undo());
  EXPECT_EQ(Row("a1"), before);
  EXPECT_EQ(Name(), "a1");  // current again
  EXPECT_EQ(history_->RedoCaption(), "Redo delete of a1");
  ASSERT_TRUE(history_->Redo());
  EXPECT_EQ(Row("a1"), "<none>");
  ASSERT_TRUE(history_->Undo());
  EXPECT_EQ(Row("a1"), before);
}

TEST_F(UndoHistoryTest, ACancelledEditComesBackIntoTheEditStateUnposted) {
  const std::string file = Bytes();
  ASSERT_TRUE(table_->Locate("Name", "b1"));
  table_->Edit();
  table_->FieldByName("Memo").SetAsString("typed");
  table_->Cancel();
  table_->Insert();  // an untouched insert dropped is no step
  table_->Cancel();
  table_->First();
  EXPECT_EQ(history_->Steps().size(), 1u);
  EXPECT_EQ(history_->UndoCaption(), "Undo cancel of b1");
  ASSERT_TRUE(history_->Undo());
  EXPECT_EQ(table_->State(), TDataSetState::dsEdit);
  EXPECT_EQ(Name(), "b1");
  EXPECT_EQ(table_->FieldByName("Memo").AsString(), "typed");
  EXPECT_EQ(Bytes(), file);       // nothing posted
  ASSERT_TRUE(history_->Redo());  // cancels again
  EXPECT_EQ(table_->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(table_->FieldByName("Memo").AsString(), "");

  // A cancelled insert becomes an insert again; a value dropped from a control comes back.
  table_->Insert();
  table_->FieldByName("Name").SetAsString("new");
  history_->AddDroppedValue(table_->FieldByName("Cat"), std::string("Q"));
  table_->Cancel();
  EXPECT_EQ(history_->UndoCaption(), "Undo cancel of new");
  ASSERT_TRUE(history_->Undo());
  EXPECT_EQ(table_->State(), TDataSetState::dsInsert);
  EXPECT_EQ(Name(), "new");
  ASSERT_TRUE(history_->Undo());
  EXPECT_EQ(table_->FieldByName("Cat").AsString(), "Q");
  table_->Post();
  EXPECT_EQ(Scalar("SELECT Cat FROM items WHERE Name = 'new'"), "Q");
}

TEST_F(UndoHistoryTest, AnOlderStepFollowsARecordRestoredUnderANewIdentity) {
  ASSERT_TRUE(table_->Locate("Name", "b2"));  // the last identity of the file
  table_->Edit();
  table_->FieldByName("Cat").SetAsString("Z");
  table_->Cancel();
  table_->Delete();
  table_->Insert();  // takes the deleted record's identity
  table_->FieldByName("Name").SetAsString("taker");
  table_->Post();
  ASSERT_TRUE(history_->Undo());
  EXPECT_NE(Row("b2"), "<none>");
  ASSERT_TRUE(history_->Undo());  // the cancelled edit lands on b2, not on the newcomer
  EXPECT_EQ(Name(), "b2");
  EXPECT_EQ(table_->FieldByName("Cat").AsString(), "Z");
  EXPECT_FALSE(history_->CanUndo());
}

TEST_F(UndoHistoryTest, KeepsTheNewestStepsAndDropsOnesWhoseRecordIsGone) {
  TUndoHistory short_history(*table_, "Name", 3);  // takes the table over
  for (const char* name : {"a1", "a2", "b1", "b2"}) {
    ASSERT_TRUE(table_->Locate("Name", name));
    table_->Edit();
    table_->FieldByName("Memo").SetAsString("m");
    table_->Cancel();
  }
  ASSERT_EQ(short_history.Steps().size(), 3u);
  EXPECT_EQ(short_history.Steps().front().Name, "a2");
  EXPECT_EQ(short_history.UndoCaption(), "Undo cancel of b2");
  Sql("DELETE FROM items WHERE Name = 'b2'");  // another program
  table_->Refresh();
  EXPECT_FALSE(short_history.Undo());
  EXPECT_EQ(short_history.UndoCaption(), "Undo cancel of b1");
  EXPECT_EQ(table_->State(), TDataSetState::dsBrowse);
}

}  // namespace
}  // namespace pagolin
