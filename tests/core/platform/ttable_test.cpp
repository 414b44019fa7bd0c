// TTable over real SQLite files in a temporary folder.
#include "core/platform/ttable.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/platform/recordkeeper.h"
#include "core/platform/sqlitedb.h"
#include "support/itemstable.h"

namespace pagolin {
namespace {

namespace fs = std::filesystem;

using TTableTest = testing::TItemsTableTest;

TEST_F(TTableTest, WalksInTheOrderOfEachIndexReadFromTheFile) {
  AddSample();
  EXPECT_EQ(Walk(*OpenTable()), "b1 a2 c1 a1 b2");              // no index: rowid
  EXPECT_EQ(Walk(*OpenTable("byCat")), "a2 a1 b1 b2 c1");       // ties by rowid
  EXPECT_EQ(Walk(*OpenTable("byWhenDesc")), "c1 b1 a1 a2 b2");  // newest first, null last
  EXPECT_EQ(Walk(*OpenTable("CatName")), "a1 a2 b1 b2 c1");
  EXPECT_EQ(Walk(*OpenTable("CatNameDesc")), "a2 a1 b2 b1 c1");  // mixed directions
}

TEST_F(TTableTest, ChangingTheIndexKeepsTheCurrentRecord) {
  AddSample();
  auto t = OpenTable("byCat");
  ASSERT_TRUE(t->Locate("Name", "b2"));
  t->SetIndexName("byWhenDesc");
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b2");
  EXPECT_EQ(t->RecNo(), 5);
  EXPECT_THROW(t->SetIndexName("noSuchIndex"), EDatabaseError);
  EXPECT_EQ(t->IndexName(), "byWhenDesc");
}

TEST_F(TTableTest, RangeOnTheFirstIndexFieldAndItsCancelling) {
  AddSample();
  auto t = OpenTable("CatNameDesc");
  t->SetRange("B", "B");
  EXPECT_EQ(Walk(*t), "b2 b1");
  EXPECT_EQ(t->RecordCount(), 2);
  EXPECT_FALSE(t->Locate("Name", "a1"));  // outside the range
  EXPECT_TRUE(t->Locate("Name", "b1"));
  t->CancelRange();
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b1");
  EXPECT_EQ(t->RecordCount(), 5);
  t->SetRange("A", "B");
  EXPECT_EQ(Walk(*t), "a2 a1 b2 b1");
  t->SetRange("X", "X");
  EXPECT_TRUE(t->IsEmpty());
  EXPECT_TRUE(t->Eof());
  auto plain = OpenTable();
  EXPECT_THROW(plain->SetRange("A", "A"), EDatabaseError);  // no index, no first field
}

TEST_F(TTableTest, LocateFindsTheFirstMatchInIndexOrderOrLeavesThePosition) {
  AddSample();
  auto t = OpenTable("byWhenDesc");
  ASSERT_TRUE(t->Locate("Cat", "A"));
  EXPECT_EQ(t->FieldByName("Name").AsString(), "a1");
  EXPECT_FALSE(t->Locate("Cat", "a"));  // exact, with case
  EXPECT_EQ(t->FieldByName("Name").AsString(), "a1");
  ASSERT_TRUE(t->Locate("When", ""));  // empty matches null
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b2");
  ASSERT_TRUE(t->Locate("Flag", "False"));
  EXPECT_EQ(t->FieldByName("Name").AsString(), "a2");
  EXPECT_THROW(t->Locate("Nope", "x"), EDatabaseError);
}

TEST_F(TTableTest, FirstNextPriorLastAndTheEndTests) {
  AddSample();
  auto t = OpenTable("CatName");
  EXPECT_TRUE(t->Bof());
  EXPECT_FALSE(t->Eof());
  EXPECT_EQ(t->RecNo(), 1);
  t->Prior();
  EXPECT_TRUE(t->Bof());
  EXPECT_EQ(t->RecNo(), 1);
  t->Last();
  EXPECT_TRUE(t->Eof());
  EXPECT_EQ(t->FieldByName("Name").AsString(), "c1");
  t->Next();
  EXPECT_EQ(t->RecNo(), 5);
  t->Prior();
  EXPECT_FALSE(t->Eof());
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b2");
  t->SetRecNo(2);
  EXPECT_EQ(t->FieldByName("Name").AsString(), "a2");
  t->SetRecNo(99);
  EXPECT_EQ(t->RecNo(), 5);
  EXPECT_EQ(t->RecordCount(), 5);
}

TEST_F(TTableTest, AnEmptyTableHasNoCurrentRecordAndEditInserts) {
  auto t = OpenTable("byCat");
  EXPECT_TRUE(t->IsEmpty());
  EXPECT_TRUE(t->Eof());
  EXPECT_TRUE(t->Bof());
  EXPECT_EQ(t->RecNo(), 0);
  EXPECT_EQ(t->RecordCount(), 0);
  EXPECT_TRUE(t->FieldByName("Name").IsNull());
  EXPECT_EQ(t->FieldByName("Name").AsString(), "");
  EXPECT_FALSE(t->FieldByName("Flag").AsBoolean());
  EXPECT_THROW(t->Delete(), EDatabaseError);
  t->Edit();
  EXPECT_EQ(t->State(), TDataSetState::dsInsert);
  t->FieldByName("Name").SetAsString("first");
  t->Post();
  EXPECT_EQ(t->RecordCount(), 1);
  EXPECT_EQ(t->RecNo(), 1);
}

TEST_F(TTableTest, EventsComeInTheOrderOfTheClassicDataSet) {
  AddSample();
  auto t = OpenTable("CatName");
  TDataSource ds(t.get());
  std::vector<std::string> log;
  ds.AddLink([&](TDataEvent e, const TField* f) {
    static const char* names[] = {"state", "record", "field", "update", "dataset"};
    log.push_back(std::string("link:") + names[static_cast<int>(e)] + (f ? ":" + f->FieldName() : ""));
  });
  ds.OnStateChange = [&](TDataSource&) { log.push_back("OnStateChange"); };
  ds.OnDataChange = [&](TDataSource&, const TField* f) {
    log.push_back("OnDataChange" + (f ? ":" + f->FieldName() : std::string()));
  };
  t->Edit();
  t->FieldByName("Memo").SetAsString("x");
  t->Post();
  EXPECT_EQ(log, (std::vector<std::string>{"link:state", "OnStateChange", "link:field:Memo",
                                           "OnDataChange:Memo", "link:update", "link:state", "OnStateChange",
                                           "link:record", "OnDataChange"}));
  log.clear();
  t->Insert();
  EXPECT_EQ(log, (std::vector<std::string>{"link:state", "OnStateChange", "link:record", "OnDataChange"}));
  log.clear();
  t->Next();  // nothing was typed: the empty insert is posted by the move, then the move happens
  EXPECT_EQ(t->RecordCount(), 6);
  EXPECT_EQ(t->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(log.front(), "link:update");
  log.clear();
  t->Next();
  EXPECT_EQ(log, (std::vector<std::string>{"link:record", "OnDataChange"}));
  log.clear();
  t->Close();
  EXPECT_EQ(log, (std::vector<std::string>{"link:state", "OnStateChange", "link:dataset", "OnDataChange"}));
  EXPECT_THROW(t->FieldByName("Name").SetAsString("x"), EDatabaseError);
}

TEST_F(TTableTest, ABoundControlWritesItsPendingTextBeforeThePost) {
  AddSample();
  auto t = OpenTable("CatName");
  TDataSource ds(t.get());
  ds.AddLink([&](TDataEvent e, const TField*) {
    if (e == TDataEvent::deUpdateRecord) t->FieldByName("Memo").SetAsString("from the control");
  });
  t->Edit();
  t->Post();
  EXPECT_EQ(Scalar("SELECT Memo FROM items WHERE Name='a1'"), "from the control");
}

TEST_F(TTableTest, WritingNeedsEditOrInsertAndMovingWhileEditingPosts) {
  AddSample();
  auto t = OpenTable("CatName");
  EXPECT_THROW(t->FieldByName("Name").SetAsString("x"), EDatabaseError);
  t->Edit();
  t->FieldByName("Memo").SetAsString("typed");
  EXPECT_EQ(t->FieldByName("Memo").AsString(), "typed");  // the buffer
  t->Next();
  EXPECT_EQ(Scalar("SELECT Memo FROM items WHERE Name='a1'"), "typed");
  t->Edit();
  t->FieldByName("Memo").SetAsString("dropped");
  t->Cancel();
  EXPECT_EQ(t->State(), TDataSetState::dsBrowse);
  EXPECT_TRUE(t->FieldByName("Memo").IsNull());
  EXPECT_EQ(Scalar("SELECT Memo FROM items WHERE Name='a2'"), "<null>");
}

TEST_F(TTableTest, InsertCancelPostAndDeletePositions) {
  AddSample();
  auto t = OpenTable("CatName");
  t->SetRecNo(3);  // b1
  t->Insert();
  EXPECT_EQ(t->RecNo(), 0);
  EXPECT_TRUE(t->FieldByName("Name").IsNull());
  t->Cancel();
  EXPECT_EQ(t->RecNo(), 3);
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b1");
  t->Append();
  t->FieldByName("Cat").SetAsString("A");
  t->FieldByName("Name").SetAsString("a0");
  t->Post();
  EXPECT_EQ(t->RecNo(), 1);  // where its index puts it
  EXPECT_EQ(t->FieldByName("Name").AsString(), "a0");
  t->SetRecNo(3);  // a2
  t->Delete();
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b1");  // the next one
  t->Last();
  t->Delete();
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b2");  // the new last one
  EXPECT_EQ(Walk(*t), "a0 a1 b1 b2");
  t->Edit();
  t->Delete();  // deleting while editing drops the edits with the record
  EXPECT_EQ(t->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Scalar("SELECT count(*) FROM items"), "3");
}

TEST_F(TTableTest, TextsAreWindows1252InsideAndUtf8InTheFile) {
  auto t = OpenTable();
  t->Insert();
  t->FieldByName("Name").SetAsString("Grüß € “x”");
  t->Post();
  EXPECT_EQ(Scalar("SELECT Name FROM items"), "Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
  Sql("INSERT INTO items (Name) VALUES ('\xC3\xA9t\xC3\xA9 \xC4\x81')");  // a-macron has no byte
  t->Refresh();
  t->Last();
  EXPECT_EQ(t->FieldByName("Name").AsString(), "été ā");  // every character kept
  ASSERT_TRUE(t->Locate("Name", "Grüß € “x”"));
  EXPECT_EQ(t->RecNo(), 1);
}

TEST_F(TTableTest, LogicalsAndDateTimesAreStoredInTheirFixedForms) {
  auto t = OpenTable();
  t->Insert();
  t->FieldByName("Flag").SetAsBoolean(true);
  t->FieldByName("When").SetAsDateTime(EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 9, 700));
  t->Post();
  EXPECT_EQ(Scalar("SELECT Flag FROM items"), "1");
  EXPECT_EQ(Scalar("SELECT typeof(Flag) FROM items"), "integer");
  EXPECT_EQ(Scalar("SELECT \"When\" FROM items"), "2024-02-29 13:05:09");
  EXPECT_TRUE(t->FieldByName("Flag").AsBoolean());
  EXPECT_EQ(t->FieldByName("Flag").AsString(), "True");
  EXPECT_DOUBLE_EQ(t->FieldByName("When").AsDateTime(), EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 9, 0));
  t->Edit();
  t->FieldByName("Flag").SetAsString("False");
  t->FieldByName("When").SetAsString("");
  EXPECT_THROW(t->FieldByName("Flag").SetAsString("maybe"), EDatabaseError);
  EXPECT_THROW(t->FieldByName("When").SetAsString("soon"), EDatabaseError);
  t->Post();
  EXPECT_EQ(Scalar("SELECT Flag FROM items"), "0");
  EXPECT_EQ(Scalar("SELECT \"When\" FROM items"), "<null>");
  EXPECT_EQ(t->FieldByName("When").AsDateTime(), 0);
  t->Edit();
  t->FieldByName("Flag").Clear();
  t->Post();
  EXPECT_FALSE(t->FieldByName("Flag").AsBoolean());  // null reads false
  EXPECT_EQ(t->FieldByName("Flag").AsString(), "");
}

TEST_F(TTableTest, MissingForeignAndIncompleteFilesAreNamedInTheError) {
  auto message = [](TTable& t) {
    try {
      t.Open();
    } catch (const EDatabaseError& e) {
      return std::string(e.what());
    }
    return std::string("opened");
  };
  TTableDef missing = testing::ItemsDef();
  missing.fileName = "news.db";
  TTable t1(missing);
  t1.SetDatabasePath(dir_);
  const std::string m1 = message(t1);
  EXPECT_NE(m1.find("\"news.db\""), std::string::npos) << m1;
  EXPECT_NE(m1.find(dir_), std::string::npos) << m1;
  EXPECT_NE(m1.find("pagolin-newsite"), std::string::npos) << m1;
  EXPECT_FALSE(fs::exists(dir_ + "news.db"));  // never created

  std::ofstream(dir_ + "foreign.db") << "Name;Cat\r\nnot a table\r\n";
  TTableDef foreign = testing::ItemsDef();
  foreign.fileName = "foreign.db";
  TTable t2(foreign);
  t2.SetDatabasePath(dir_);
  const std::string m2 = message(t2);
  EXPECT_NE(m2.find("\"foreign.db\""), std::string::npos) << m2;
  EXPECT_NE(m2.find("not an SQLite"), std::string::npos) << m2;

  TTableDef more = testing::ItemsDef();
  more.fields.push_back({"Extra Column", TFieldKind::fkText});
  TTable t3(more);
  t3.SetDatabasePath(dir_);
  const std::string m3 = message(t3);
  EXPECT_NE(m3.find("\"items.DB\""), std::string::npos) << m3;
  EXPECT_NE(m3.find("\"Extra Column\""), std::string::npos) << m3;

  TTable t4(testing::ItemsDef());
  t4.SetDatabasePath(dir_);
  t4.SetIndexName("byNothing");
  const std::string m4 = message(t4);
  EXPECT_NE(m4.find("\"byNothing\""), std::string::npos) << m4;
  EXPECT_FALSE(t4.Active());
}

TEST_F(TTableTest, APostIntoALockedFileFailsClearlyAndKeepsTheRecord) {
  AddSample();
  auto t = OpenTable("CatName");
  t->SetBusyTimeout(50);
  TSqliteDb other;
  ASSERT_EQ(other.Open(File(), SQLITE_OPEN_READWRITE), SQLITE_OK);
  ASSERT_EQ(other.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
  t->Edit();
  t->FieldByName("Memo").SetAsString("kept");
  try {
    t->Post();
    FAIL() << "posted into a locked file";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("\"items.DB\""), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("locked"), std::string::npos) << e.what();
  }
  EXPECT_EQ(t->State(), TDataSetState::dsEdit);
  EXPECT_EQ(t->FieldByName("Memo").AsString(), "kept");
  EXPECT_THROW(t->Next(), EDatabaseError);  // the move would post: it fails and stays
  EXPECT_EQ(t->RecNo(), 1);
  ASSERT_EQ(other.Exec("ROLLBACK"), SQLITE_OK);
  t->Post();
  EXPECT_EQ(Scalar("SELECT Memo FROM items WHERE Name='a1'"), "kept");
}

TEST_F(TTableTest, ARecordKeepsItsIdentityWhileItMovesAndLosesItWhenDeleted) {
  AddSample();
  auto t = OpenTable("CatName");
  ASSERT_TRUE(t->Locate("Name", "a1"));
  const TRecordId a1 = t->RecordId();
  t->Edit();
  t->FieldByName("Cat").SetAsString("Z");  // moves to the end of the order
  EXPECT_EQ(t->RecordId(), a1);
  t->Post();
  t->First();
  ASSERT_TRUE(t->LocateRecord(a1));
  EXPECT_EQ(t->FieldByName("Name").AsString(), "a1");
  EXPECT_EQ(t->RecNo(), 5);
  t->Delete();
  t->First();
  EXPECT_FALSE(t->LocateRecord(a1));
  EXPECT_EQ(t->RecNo(), 1);
  t->Insert();
  EXPECT_EQ(t->RecordId(), 0);
}

TEST_F(TTableTest, ATransactionHoldsTheWriteLockAndShowsItsPostsOnlyWhenCommitted) {
  AddSample();
  auto t = OpenTable("CatName");
  t->SetBusyTimeout(50);
  const auto setMemo = [&](const std::string& memo) {
    t->Edit();
    t->FieldByName("Memo").SetAsString(memo);
    t->Post();
  };
  t->StartTransaction();
  setMemo("undone");
  EXPECT_EQ(Scalar("SELECT Memo FROM items WHERE Name='a1'"), "<null>");  // others see nothing yet
  t->Rollback();
  EXPECT_FALSE(t->InTransaction());
  EXPECT_EQ(t->FieldByName("Name").AsString(), "a1");
  EXPECT_TRUE(t->FieldByName("Memo").IsNull());

  // A reader that stays makes the commit fail; the transaction waits to be committed again.
  TSqliteDb other;
  ASSERT_EQ(other.Open(File(), SQLITE_OPEN_READWRITE), SQLITE_OK);
  ASSERT_EQ(other.Exec("BEGIN; SELECT count(*) FROM items;"), SQLITE_OK);
  t->StartTransaction();
  setMemo("kept");
  EXPECT_THROW(t->Commit(), EDatabaseError);
  EXPECT_TRUE(t->InTransaction());
  ASSERT_EQ(other.Exec("COMMIT"), SQLITE_OK);
  t->Commit();
  EXPECT_EQ(Scalar("SELECT Memo FROM items WHERE Name='a1'"), "kept");

  ASSERT_EQ(other.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
  try {
    t->StartTransaction();
    FAIL() << "took the lock another program holds";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("locked by another program"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(t->InTransaction());
}

TEST_F(TTableTest, EditingARecordAnotherProgramDeletedFailsAndKeepsTheEdits) {
  AddSample();
  auto t = OpenTable("CatName");
  t->Edit();
  t->FieldByName("Memo").SetAsString("kept");
  Sql("DELETE FROM items WHERE Name = 'a1'");
  try {
    t->Post();
    FAIL() << "posted into a deleted record";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("deleted"), std::string::npos) << e.what();
  }
  EXPECT_EQ(t->State(), TDataSetState::dsEdit);
  EXPECT_EQ(t->FieldByName("Memo").AsString(), "kept");
  t->Cancel();
  t->Refresh();
  EXPECT_EQ(Walk(*t), "a2 b1 b2 c1");
}

TEST_F(TTableTest, APostedRecordSurvivesAKilledProgram) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TTable t(testing::ItemsDef());
    t.SetDatabasePath(dir_);
    t.Open();
    t.Insert();
    t.FieldByName("Name").SetAsString("posted");
    t.Post();
    t.Insert();
    t.FieldByName("Name").SetAsString("never posted");
    raise(SIGKILL);
    _exit(3);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  auto t = OpenTable();
  EXPECT_EQ(t->RecordCount(), 1);
  EXPECT_TRUE(t->Locate("Name", "posted"));
  EXPECT_EQ(Scalar("PRAGMA integrity_check"), "ok");
}

TEST_F(TTableTest, EmptyTableOpenOrClosedAndRefreshSeesOtherWriters) {
  AddSample();
  auto t = OpenTable("byCat");
  Sql("INSERT INTO items (Name, Cat) VALUES ('a0', 'A')");
  EXPECT_EQ(t->RecordCount(), 5);
  t->Refresh();
  EXPECT_EQ(t->RecordCount(), 6);
  t->EmptyTable();
  EXPECT_TRUE(t->IsEmpty());
  EXPECT_EQ(Scalar("SELECT count(*) FROM items"), "0");
  AddSample();
  t->Close();
  t->EmptyTable();
  EXPECT_FALSE(t->Active());
  EXPECT_EQ(Scalar("SELECT count(*) FROM items"), "0");
  t->Open();
  t->FlushBuffers();
  EXPECT_TRUE(t->IsEmpty());
}

TEST_F(TTableTest, WalkingForwardAndBackAcrossFetchWindows) {
  AddNumbered(300);
  auto t = OpenTable("CatName");
  int n = 0;
  for (t->First(); !t->Eof(); t->Next())
    ASSERT_EQ(t->FieldByName("Name").AsString(), "n" + std::to_string(1000 + n++));
  EXPECT_EQ(n, 300);
  for (t->Last(); !t->Bof(); t->Prior())
    ASSERT_EQ(t->FieldByName("Name").AsString(), "n" + std::to_string(1000 + --n));
  EXPECT_EQ(n, 0);
  t->SetRecNo(200);
  t->Edit();
  t->FieldByName("Memo").SetAsString("m");
  t->Post();
  t->SetRecNo(150);
  t->SetRecNo(200);
  EXPECT_EQ(t->FieldByName("Memo").AsString(), "m");  // no stale window after a post
}

// Each fetch window reuses the memory of the last one: a field empty in one row must not show
// the text that the row in its place held before, in either direction.
TEST_F(TTableTest, EmptyFieldsStayEmptyAcrossFetchWindows) {
  AddNumbered(300);
  auto t = OpenTable("CatName");
  auto check = [&](int i) {
    ASSERT_EQ(t->FieldByName("Memo").IsNull(), i % 3 == 0) << i;
    ASSERT_EQ(t->FieldByName("Memo").AsString(), i % 3 == 0 ? "" : "memo " + std::to_string(i)) << i;
  };
  int n = 0;
  for (t->First(); !t->Eof(); t->Next()) check(n++);
  for (t->Last(); !t->Bof(); t->Prior()) check(--n);
  EXPECT_EQ(n, 0);
}

TEST_F(TTableTest, RecordKeeperReturnsToTheRecordAndDropsItsRangeAlsoWhenTheWalkFails) {
  AddSample();
  auto t = OpenTable("byCat");  // a1 a2 b1 b2 c1
  t->SetRecNo(4);
  {
    TRecordKeeper keeper(*t);
    t->SetRange("A", "A");
    t->Last();
    keeper.Restore();
  }
  EXPECT_FALSE(t->HasRange());
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b2");
  try {
    TRecordKeeper keeper(*t);
    t->SetRange("C", "C");
    t->FieldByName("No such field");
  } catch (const EDatabaseError&) {
  }
  EXPECT_FALSE(t->HasRange());
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b2");
  // A range that was there before the walk stays.
  t->SetRange("B", "B");
  t->Next();
  {
    TRecordKeeper keeper(*t);
    t->First();
  }
  EXPECT_TRUE(t->HasRange());
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b2");
  // A walk that moves the record in the order finds it again.
  t->CancelRange();
  {
    TRecordKeeper keeper(*t);
    t->Edit();
    t->FieldByName("Cat").SetAsString("A");
    t->Post();
    t->Last();
  }
  EXPECT_EQ(t->FieldByName("Name").AsString(), "b2");
}

// The controls do not follow a walk under a keeper: they hear the state changes of the
// walk's own edits, and one data-set change at the end, on the record they showed before.
TEST_F(TTableTest, ControlsHearNothingOfAWalkButItsStateChangesAndOneChangeAtTheEnd) {
  AddSample();
  auto t = OpenTable("byCat");  // a2 a1 b1 b2 c1
  TDataSource ds(t.get());
  std::vector<std::string> heard;  // event number and the current name at that moment
  ds.AddLink([&](TDataEvent e, const TField*) {
    heard.push_back(std::to_string(static_cast<int>(e)) + t->FieldByName("Name").AsString());
  });
  t->SetRecNo(3);
  heard.clear();
  {
    TRecordKeeper keeper(*t);
    {
      TControlsDisabled nested(*t);  // calls nest: the keeper's still holds
      t->First();
    }
    EXPECT_TRUE(t->ControlsDisabled());
    for (; !t->Eof(); t->Next()) {
      t->Edit();
      t->FieldByName("Memo").SetAsString("walked");
      t->Post();
    }
    keeper.Restore();
    EXPECT_FALSE(t->ControlsDisabled());
  }
  const std::string state = std::to_string(static_cast<int>(TDataEvent::deStateChange));
  const std::string update = std::to_string(static_cast<int>(TDataEvent::deUpdateRecord));
  std::vector<std::string> expected;
  for (const char* name : {"a2", "a1", "b1", "b2", "c1"})
    expected.insert(expected.end(), {state + name, update + name, state + name});
  expected.push_back(std::to_string(static_cast<int>(TDataEvent::deDataSetChange)) + "b1");
  EXPECT_EQ(heard, expected);
  heard.clear();
  { TControlsDisabled unused(*t); }  // nothing held back: nothing told
  EXPECT_TRUE(heard.empty());
}

// ---- rows for a view, and posts that write only what was written ---------------------------

// Windows of every kind read the same names as a plain ordered query, and reading moves
// nothing: not the current record, not the state, not the buffer, and no event is sent.
TEST_F(TTableTest, ReadRowsGivesTheWalkOrderAndMovesNothing) {
  AddNumbered(300);
  Sql("UPDATE items SET Cat = 'Y' WHERE rowid % 7 = 0");
  auto t = OpenTable("CatNameDesc");
  std::vector<std::string> expected;
  {
    TSqliteDb db;
    ASSERT_EQ(db.Open(File(), SQLITE_OPEN_READONLY), SQLITE_OK);
    TSqliteStmt q;
    ASSERT_EQ(q.Prepare(db.Handle(), "SELECT Name FROM items ORDER BY Cat, Name DESC, rowid"), SQLITE_OK);
    while (q.Step() == SQLITE_ROW) expected.push_back(*q.ColumnText(0));
  }
  t->SetRecNo(123);
  t->Edit();
  t->FieldByName("Name").SetAsString("typed");
  TDataSource ds(t.get());
  int events = 0;
  ds.AddLink([&](TDataEvent, const TField*) { ++events; });
  const struct {
    int first, count, size;
  } windows[] = {{0, 100, 100}, {250, 100, 50}, {-5, 10, 10}, {299, 1, 1},
                 {300, 5, 0},   {10, 0, 0},     {120, 7, 7}};
  for (const auto& w : windows) {
    const std::vector<TRecordValues> rows = t->ReadRows(w.first, w.count);
    ASSERT_EQ(static_cast<int>(rows.size()), w.size) << w.first;
    for (int i = 0; i < w.size; ++i)
      ASSERT_EQ(rows[static_cast<size_t>(i)].AsString(0),
                expected[static_cast<size_t>(std::max(0, w.first) + i)]);
  }
  EXPECT_EQ(events, 0);
  EXPECT_EQ(t->State(), TDataSetState::dsEdit);
  EXPECT_EQ(t->FieldByName("Name").AsString(), "typed");
  EXPECT_TRUE(t->Modified());
  t->Cancel();
  EXPECT_EQ(t->RecNo(), 123);
  EXPECT_EQ(t->FieldByName("Name").AsString(), expected[122]);
  EXPECT_EQ(t->CurrentValues().AsString(0), expected[122]);
}

TEST_F(TTableTest, RecordValuesReadAsFieldsAndShowDatesInTheirShortForm) {
  AddSample();
  Sql("UPDATE items SET \"When\" = '2024-06-01 00:00:00' WHERE Name = 'a2';"
      "UPDATE items SET \"When\" = 'next week', Flag = 'yes' WHERE Name = 'b2'");
  auto t = OpenTable("CatName");  // a1 a2 b1 b2 c1
  TFormatSettings& fs = FormatSettings();
  const TFormatSettings saved = fs;
  fs.ShortDateFormat = "dd/mm/yyyy";
  fs.DateSeparator = '.';
  fs.ShortTimeFormat = "hh:nn";
  const std::vector<TRecordValues> rows = t->ReadRows(0, 5);
  const int when = 2, flag = 3;
  EXPECT_EQ(rows[0].DisplayText(when), "01.02.2024 10:00");
  EXPECT_EQ(rows[1].DisplayText(when), "01.06.2024");  // midnight: the date alone
  EXPECT_EQ(rows[3].DisplayText(when), "next week");   // not a date: as stored
  EXPECT_EQ(rows[3].AsDateTime(when), 0);
  EXPECT_TRUE(rows[3].AsBoolean(flag));      // a logical kept as text
  EXPECT_EQ(rows[4].DisplayText(flag), "");  // null
  EXPECT_TRUE(rows[4].IsNull(flag));
  EXPECT_EQ(rows[1].DisplayText(flag), "False");
  for (int i = 0; i < 5; ++i) {
    t->SetRecNo(i + 1);
    for (int f = 0; f < 5; ++f)
      EXPECT_EQ(rows[static_cast<size_t>(i)].AsString(f), t->Fields()[static_cast<size_t>(f)]->AsString());
  }
  EXPECT_EQ(TRecordValues().FieldCount(), 0);
  EXPECT_TRUE(TRecordValues().IsNull(0));
  fs = saved;
}

// Showing a record, entering the edit state and leaving it writes nothing; an edit stores the
// fields written and leaves the others' stored bytes (a date or logical in a foreign form).
TEST_F(TTableTest, AnEditStoresOnlyTheFieldsWrittenAndAnUntouchedOneNothing) {
  AddSample();
  Sql("UPDATE items SET \"When\" = 'next week', Flag = 'False' WHERE Name = 'b2'");
  auto t = OpenTable("CatName");
  const std::string before = Bytes();
  for (t->First(); !t->Eof(); t->Next()) {
    t->Edit();
    EXPECT_FALSE(t->Modified());
  }
  t->Post();
  EXPECT_EQ(Bytes(), before);
  ASSERT_TRUE(t->Locate("Name", "b2"));
  t->Edit();
  t->FieldByName("Memo").SetAsString("noted");
  EXPECT_TRUE(t->Modified());
  t->Post();
  EXPECT_FALSE(t->Modified());
  EXPECT_EQ(Scalar("SELECT \"When\" || '|' || Flag || '|' || typeof(Flag) || '|' || Memo FROM items WHERE "
                   "Name = 'b2'"),
            "next week|False|text|noted");
}

// Opening reads the count and the first of the order; the rest comes when a position beyond is
// needed, with what another program changed meanwhile, as after Refresh.
TEST_F(TTableTest, ALargeTableOpensWithItsCountAndReadsTheRestOfTheOrderWhenNeeded) {
  AddNumbered(1000);
  auto t = OpenTable("CatName");
  EXPECT_EQ(t->RecordCount(), 1000);
  Sql("INSERT INTO items (Name, Cat) VALUES ('n5000', 'X')");
  EXPECT_EQ(t->RecordCount(), 1000);
  t->SetRecNo(900);
  EXPECT_EQ(t->FieldByName("Name").AsString(), "n1899");
  EXPECT_EQ(t->RecordCount(), 1001);
  t->Last();
  EXPECT_EQ(t->FieldByName("Name").AsString(), "n5000");
  t->SetRange("X", "X");
  EXPECT_EQ(t->RecordCount(), 1001);
  ASSERT_TRUE(t->Locate("Name", "n1998"));
  EXPECT_EQ(t->RecNo(), 999);
}

}  // namespace
}  // namespace pagolin
