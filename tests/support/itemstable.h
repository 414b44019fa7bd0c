// The table of the core table tests: a file "items.DB" in a temporary folder with five
// columns of every kind and four indexes, a sample of five records, and helpers that read the
// file through a connection of their own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "core/platform/sqlitedb.h"
#include "core/platform/ttable.h"

namespace pagolin::testing {

inline TTableDef ItemsDef() {
  return {"items.DB",
          "items",
          {{"Name", TFieldKind::fkText},
           {"Cat", TFieldKind::fkText},
           {"When", TFieldKind::fkDateTime},
           {"Flag", TFieldKind::fkLogical},
           {"Memo", TFieldKind::fkMemo}},
          {}};
}

class TItemsTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/ttable_test_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = std::string(tmpl) + "/";
    Sql("CREATE TABLE items (Name TEXT, Cat TEXT, \"When\" TEXT, Flag INTEGER, Memo TEXT);"
        "CREATE INDEX byCat ON items (Cat);"
        "CREATE INDEX byWhenDesc ON items (\"When\" DESC);"
        "CREATE INDEX CatName ON items (Cat, Name);"
        "CREATE INDEX CatNameDesc ON items (Cat, Name DESC);");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string File() const { return dir_ + "items.DB"; }

  // Runs SQL on the file through a connection of its own.
  void Sql(const std::string& sql) {
    TSqliteDb db;
    ASSERT_EQ(db.Open(File(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), SQLITE_OK);
    ASSERT_EQ(db.Exec(sql), SQLITE_OK) << db.ErrorMessage();
  }
  std::string Scalar(const std::string& sql) {
    TSqliteDb db;
    EXPECT_EQ(db.Open(File(), SQLITE_OPEN_READONLY), SQLITE_OK);
    TSqliteStmt stmt;
    EXPECT_EQ(stmt.Prepare(db.Handle(), sql), SQLITE_OK) << db.ErrorMessage();
    return stmt.Step() == SQLITE_ROW ? stmt.ColumnText(0).value_or("<null>") : "<none>";
  }
  std::string Bytes() const {
    std::ifstream in(File(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // n records "n1000" ... in category "X", every third with a null memo, the others "memo i".
  void AddNumbered(int n) {
    std::string sql = "BEGIN;";
    for (int i = 0; i < n; ++i)
      sql += "INSERT INTO items (Name, Cat, Memo) VALUES ('n" + std::to_string(1000 + i) + "', 'X', " +
             (i % 3 == 0 ? "NULL" : "'memo " + std::to_string(i) + "'") + ");";
    Sql(sql + "COMMIT;");
  }
  void AddSample() {
    Sql("INSERT INTO items VALUES ('b1','B','2024-03-01 10:00:00',1,NULL);"
        "INSERT INTO items VALUES ('a2','A','2024-01-01 10:00:00',0,NULL);"
        "INSERT INTO items VALUES ('c1','C','2024-05-01 10:00:00',NULL,NULL);"
        "INSERT INTO items VALUES ('a1','A','2024-02-01 10:00:00',1,NULL);"
        "INSERT INTO items VALUES ('b2','B',NULL,1,NULL);");
  }
  std::unique_ptr<TTable> OpenTable(const std::string& index = {}) {
    auto t = std::make_unique<TTable>(ItemsDef());
    t->SetDatabasePath(dir_);
    t->SetIndexName(index);
    t->Open();
    return t;
  }
  static std::string Walk(TTable& t) {
    std::string names;
    for (t.First(); !t.Eof(); t.Next())
      names += (names.empty() ? "" : " ") + t.FieldByName("Name").AsString();
    return names;
  }
  std::string dir_;
};

// The sample open in index CatName order (a1 a2 b1 b2 c1), with a data source on it.
class TOpenItemsTest : public TItemsTableTest {
 protected:
  void SetUp() override {
    TItemsTableTest::SetUp();
    AddSample();
    table_ = OpenTable("CatName");
    source_ = std::make_unique<TDataSource>(table_.get());
  }
  std::unique_ptr<TTable> table_;
  std::unique_ptr<TDataSource> source_;
};

}  // namespace pagolin::testing
