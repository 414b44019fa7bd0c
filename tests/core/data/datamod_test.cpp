// The data module over a real site folder.
#include "core/data/datamod.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "core/data/siteschema.h"
#include "core/platform/sqlitedb.h"

namespace pagolin {
namespace {

namespace fs = std::filesystem;

class DataModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/datamod_test_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = std::string(tmpl) + "/";
    for (const TTableDef* def : SiteTableDefs()) Sql(*def, "");
    Sql(CodesTableDef(),
        "INSERT INTO codes (Name, Type) VALUES ('Head', 'Section'), ('ZIP', 'Variable'), "
        "('Variable', 'Data'), ('COMPANY', 'Variable'), ('Body', 'Page');");
    Sql(ProductsTableDef(), "INSERT INTO product (Name, Category) VALUES ('P', 'Application');");
    Sql(LinksTableDef(), "INSERT INTO links (Name, Category) VALUES ('L', 'Internet');");
    Sql(NewsTableDef(),
        "INSERT INTO news (\"Date\", \"News Title 1\") VALUES ('2024-01-01 09:00:00', 'old');");
    Sql(NewsPostTableDef(),
        "INSERT INTO newspost (Subject, \"Date sent\") VALUES ('sent', '2024-02-01 12:00:00'), ('unsent', "
        "NULL);");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Creates the file when missing, with its schema, then runs sql on it.
  void Sql(const TTableDef& def, const std::string& sql) {
    const bool fresh = !fs::exists(dir_ + def.fileName);
    TSqliteDb db;
    ASSERT_EQ(db.Open(dir_ + def.fileName, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), SQLITE_OK);
    if (fresh) {
      for (const std::string& s : CreateTableStatements(def))
        ASSERT_EQ(db.Exec(s), SQLITE_OK) << db.ErrorMessage();
    }
    ASSERT_EQ(db.Exec(sql), SQLITE_OK) << db.ErrorMessage();
  }
  std::string Scalar(const TTableDef& def, const std::string& sql) {
    TSqliteDb db;
    EXPECT_EQ(db.Open(dir_ + def.fileName, SQLITE_OPEN_READONLY), SQLITE_OK);
    TSqliteStmt stmt;
    EXPECT_EQ(stmt.Prepare(db.Handle(), sql), SQLITE_OK) << db.ErrorMessage();
    return stmt.Step() == SQLITE_ROW ? stmt.ColumnText(0).value_or("<null>") : "<none>";
  }
  static std::vector<bool> Open(TDataModule2& dm) {
    return {dm.tblNews.Active(), dm.tblProducts.Active(), dm.tblNewsPost.Active(), dm.tblCodes.Active(),
            dm.tblLinks.Active()};
  }
  std::string dir_;
};

TEST_F(DataModuleTest, CreateSetsThePathAndOpensAllTablesOnTheirIndexes) {
  TDataModule2 dm(dir_);
  dm.Database1.Params = {"path=/elsewhere/"};
  dm.DataModule2Create();
  EXPECT_EQ(dm.Database1.Params, std::vector<std::string>{"path=" + dir_});
  EXPECT_TRUE(dm.Database1.Connected());
  EXPECT_EQ(Open(dm), std::vector<bool>(5, true));
  EXPECT_EQ(dm.tblProducts.IndexName(), "byCategory");
  EXPECT_EQ(dm.tblNews.IndexName(), "byDateDescending");
  EXPECT_EQ(dm.tblLinks.IndexName(), "Categoryname");
  EXPECT_EQ(dm.tblCodes.IndexName(), "TypeAndName");
  EXPECT_EQ(dm.tblNewsPost.IndexName(), "newspostdatedesc");
  EXPECT_EQ(dm.dsNews.DataSet(), &dm.tblNews);
  EXPECT_EQ(dm.dsCodes.DataSet(), &dm.tblCodes);
}

TEST_F(DataModuleTest, AFailingTableStopsCreationAndLeavesTheLaterOnesClosed) {
  fs::remove(dir_ + "codes.db");
  TDataModule2 dm(dir_);
  try {
    dm.DataModule2Create();
    FAIL() << "opened without codes.db";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("\"codes.db\""), std::string::npos) << e.what();
  }
  EXPECT_EQ(Open(dm), (std::vector<bool>{true, true, true, false, false}));

  fs::remove(dir_ + "news.db");  // no first table: the database opens, no table does
  TDataModule2 dm2(dir_);
  EXPECT_THROW(dm2.DataModule2Create(), EDatabaseError);
  EXPECT_TRUE(dm2.Database1.Connected());
  EXPECT_EQ(Open(dm2), std::vector<bool>(5, false));
}

TEST_F(DataModuleTest, ClearTablesEmptiesExactlyTheFlaggedTablesButNeverCodes) {
  TDataModule2 dm(dir_);
  dm.DataModule2Create();
  dm.ClearTables(false, false, false, false);
  EXPECT_EQ(dm.tblProducts.RecordCount() + dm.tblNews.RecordCount() + dm.tblLinks.RecordCount() +
                dm.tblNewsPost.RecordCount(),
            5);
  dm.ClearTables(false, true, false, true);
  EXPECT_EQ(dm.tblProducts.RecordCount(), 1);
  EXPECT_EQ(dm.tblNews.RecordCount(), 0);
  EXPECT_EQ(dm.tblLinks.RecordCount(), 1);
  EXPECT_EQ(dm.tblNewsPost.RecordCount(), 0);
  dm.ClearTables(true, true, true, true);
  EXPECT_EQ(Open(dm), std::vector<bool>(5, true));
  EXPECT_EQ(Scalar(ProductsTableDef(), "SELECT count(*) FROM product"), "0");
  EXPECT_EQ(Scalar(LinksTableDef(), "SELECT count(*) FROM links"), "0");
  EXPECT_EQ(dm.tblCodes.RecordCount(), 5);
}

TEST_F(DataModuleTest, ClearTablesStopsAtALockedTableAndKeepsWhatItEmptied) {
  TDataModule2 dm(dir_);
  dm.DataModule2Create();
  dm.tblLinks.SetBusyTimeout(50);
  TSqliteDb other;
  ASSERT_EQ(other.Open(dir_ + "links.db", SQLITE_OPEN_READWRITE), SQLITE_OK);
  ASSERT_EQ(other.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
  EXPECT_THROW(dm.ClearTables(true, false, true, true), EDatabaseError);
  EXPECT_EQ(Scalar(ProductsTableDef(), "SELECT count(*) FROM product"), "0");
  other.Exec("ROLLBACK");
  EXPECT_EQ(Scalar(LinksTableDef(), "SELECT count(*) FROM links"), "1");
  EXPECT_EQ(Scalar(NewsPostTableDef(), "SELECT count(*) FROM newspost"), "2");  // not reached
  EXPECT_TRUE(dm.tblLinks.Active());
}

TEST_F(DataModuleTest, ANewNewsItemIsStoredAtOnceWithTheCurrentDateThenEdited) {
  TDataModule2 dm(dir_);
  dm.DataModule2Create();
  const TDateTime before = Now();
  dm.tblNews.Insert();
  EXPECT_EQ(dm.tblNews.State(), TDataSetState::dsEdit);
  EXPECT_EQ(Scalar(NewsTableDef(), "SELECT count(*) FROM news"), "2");
  const std::string stored = Scalar(NewsTableDef(), "SELECT \"Date\" FROM news WHERE rowid = 2");
  TDateTime date = 0;
  ASSERT_TRUE(StorageTextToDateTime(stored, date)) << stored;
  EXPECT_LT(std::fabs(date - before) * 86400, 5.0);
  EXPECT_EQ(dm.tblNews.RecNo(), 1);  // newest first
  EXPECT_TRUE(dm.tblNews.FieldByName("News Title 1").IsNull());
  EXPECT_FALSE(dm.tblNews.FieldByName("Include").AsBoolean());
  dm.tblNews.FieldByName("News Title 1").SetAsString("typed");
  dm.tblNews.Cancel();  // cancels the typing, the record stays
  EXPECT_EQ(dm.tblNews.RecordCount(), 2);
  EXPECT_TRUE(dm.tblNews.FieldByName("News Title 1").IsNull());
  dm.tblNews.Edit();  // an ordinary edit is not touched by the rule
  EXPECT_EQ(dm.tblNews.State(), TDataSetState::dsEdit);
  dm.tblNews.Cancel();
  EXPECT_EQ(dm.tblNews.RecordCount(), 2);
}

TEST_F(DataModuleTest, TheSendBoxFollowsDateSentOnWholeRecordChangesOnly) {
  TDataModule2 dm(dir_);
  std::vector<bool> calls;
  dm.EnableSendBox = [&](bool enabled) { calls.push_back(enabled); };
  dm.DataModule2Create();
  ASSERT_FALSE(calls.empty());  // opened: the first posting (newest sent first) disables it
  EXPECT_FALSE(calls.back());
  calls.clear();
  dm.tblNewsPost.Next();  // the unsent one
  EXPECT_EQ(calls, std::vector<bool>{true});
  calls.clear();
  dm.tblNewsPost.Edit();
  dm.tblNewsPost.FieldByName("Subject").SetAsString("x");  // one field: nothing
  EXPECT_TRUE(calls.empty());
  dm.tblNewsPost.FieldByName("Date sent").SetAsDateTime(Now());
  EXPECT_TRUE(calls.empty());
  dm.tblNewsPost.Post();  // the record as a whole: now sent
  EXPECT_EQ(calls, std::vector<bool>{false});
}

TEST_F(DataModuleTest, TheVariableRangeYieldsOnlyVariablesInNameOrder) {
  TDataModule2 dm(dir_);
  dm.DataModule2Create();
  dm.tblCodes.SetRange("Variable", "Variable");
  std::vector<std::string> names;
  for (dm.tblCodes.First(); !dm.tblCodes.Eof(); dm.tblCodes.Next())
    names.push_back(dm.tblCodes.FieldByName("Name").AsString());
  EXPECT_EQ(names, (std::vector<std::string>{"COMPANY", "ZIP"}));
}

TEST_F(DataModuleTest, AMissingSiteFolderIsNamed) {
  TDataModule2 dm(dir_ + "nowhere");
  try {
    dm.DataModule2Create();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find(dir_ + "nowhere/"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("pagolin-newsite"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(dm.Database1.Connected());
}

}  // namespace
}  // namespace pagolin
