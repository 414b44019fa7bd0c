// TFieldDataLink with a stand-in control (a string it shows and a flag for read-only) over the
// items table.
#include "core/platform/fielddatalink.h"

#include <gtest/gtest.h>

#include "support/itemstable.h"

namespace pagolin {
namespace {

// What a text box does with its link: shows the field, writes its text, counts the shows.
struct TFakeEdit {
  TFieldDataLink link;
  std::string text;
  bool readOnly = true;
  int shows = 0;

  TFakeEdit(TDataSource& source, const std::string& field) {
    link.OnDataChange = [this] {
      ++shows;
      text = link.Field() ? link.Field()->AsString() : "";
    };
    link.OnUpdateData = [this] { link.Field()->SetAsString(text); };
    link.OnEditingChange = [this] { readOnly = !link.CanModify(); };
    link.SetDataSource(&source);
    link.SetFieldName(field);
  }
  // A keystroke: the first one enters the edit state, then the text changes.
  void Type(const std::string& more) {
    ASSERT_TRUE(link.Editing() || link.Edit());
    text += more;
    link.Modified();
  }
};

using TFieldDataLinkTest = testing::TOpenItemsTest;

TEST_F(TFieldDataLinkTest, ShowsTheCurrentRecordAndFollowsMovesCancelsAndOtherWriters) {
  TFakeEdit name(*source_, "Name"), memo(*source_, "Memo");
  EXPECT_EQ(name.text, "a1");
  EXPECT_FALSE(name.readOnly);
  table_->Next();
  EXPECT_EQ(name.text, "a2");
  name.Type("x");
  EXPECT_EQ(name.text, "a2x");
  table_->FieldByName("Memo").SetAsString("by code");  // another writer of another field
  EXPECT_EQ(name.text, "a2x");
  EXPECT_EQ(memo.text, "by code");
  table_->Cancel();
  EXPECT_EQ(name.text, "a2");
  EXPECT_FALSE(name.link.IsModified());
  table_->Close();
  EXPECT_EQ(name.text, "");
  EXPECT_TRUE(name.readOnly);
}

TEST_F(TFieldDataLinkTest, ThePendingTextIsWrittenBeforeThePostAndNeverPostedByTheLink) {
  TFakeEdit name(*source_, "Name");
  name.Type("z");
  name.link.UpdateRecord();  // focus left: into the record, not into the file
  EXPECT_EQ(table_->FieldByName("Name").AsString(), "a1z");
  EXPECT_EQ(Scalar("SELECT count(*) FROM items WHERE Name = 'a1z'"), "0");
  name.Type("!");
  table_->Post();
  EXPECT_EQ(Scalar("SELECT count(*) FROM items WHERE Name = 'a1z!'"), "1");
  EXPECT_EQ(name.text, "a1z!");
}

// The data module's kind of rule: a new record is stored at once and edited again. The first
// keystroke that causes all of it keeps what the control shows.
TEST_F(TFieldDataLinkTest, EnteringTheEditStateKeepsTheControlsTextThroughInsertsAndHandlers) {
  table_->EmptyTable();
  source_->OnStateChange = [this](TDataSource&) {
    if (table_->State() != TDataSetState::dsInsert) return;
    table_->FieldByName("Cat").SetAsString("N");
    table_->Post();
    table_->Edit();
  };
  TFakeEdit name(*source_, "Name"), cat(*source_, "Cat");
  name.text = "H";  // typed into the empty table's box
  const int shows = name.shows;
  ASSERT_TRUE(name.link.Edit());
  name.link.Modified();
  EXPECT_EQ(name.shows, shows);
  EXPECT_EQ(name.text, "H");
  EXPECT_EQ(cat.text, "N");  // every other control shows the new record
  EXPECT_EQ(table_->State(), TDataSetState::dsEdit);
  table_->Post();
  EXPECT_EQ(Scalar("SELECT Name || Cat FROM items"), "HN");
}

TEST_F(TFieldDataLinkTest, AValueTheFieldRefusesStaysPendingAndReadOnlyNeverEdits) {
  TFakeEdit when(*source_, "When");
  when.Type(" and a bit");
  EXPECT_THROW(when.link.UpdateRecord(), EDatabaseError);
  EXPECT_TRUE(when.link.IsModified());
  EXPECT_THROW(table_->Post(), EDatabaseError);  // the post asks, and fails the same way
  EXPECT_EQ(table_->State(), TDataSetState::dsEdit);
  when.link.Reset();
  EXPECT_FALSE(when.link.IsModified());
  table_->Post();

  TFakeEdit locked(*source_, "Name");
  locked.link.SetReadOnly(true);
  EXPECT_TRUE(locked.readOnly);
  EXPECT_FALSE(locked.link.Edit());
  EXPECT_EQ(table_->State(), TDataSetState::dsBrowse);
  TFakeEdit nothing(*source_, "No such field");
  EXPECT_FALSE(nothing.link.Active());
  EXPECT_FALSE(nothing.link.Edit());
}

TEST_F(TFieldDataLinkTest, ALinkOutlivingItsDataSourceForgetsIt) {
  TFakeEdit name(*source_, "Name");
  source_.reset();
  EXPECT_EQ(name.link.DataSource(), nullptr);
  EXPECT_EQ(name.text, "");
  table_->Next();  // no longer told
  EXPECT_EQ(name.text, "");
}

}  // namespace
}  // namespace pagolin
