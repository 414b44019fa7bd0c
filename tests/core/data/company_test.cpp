#include "core/data/company.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/platform/filenames.h"
#include "core/platform/sqlitedb.h"

namespace pagolin {
namespace {

class CompanyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/pagolin_company_XXXXXX";
    dir_ = IncludeTrailingPathDelimiter(::mkdtemp(tmpl));
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void NewSite() {
    const std::string site = dir_ + "site";
    ASSERT_EQ(std::system((std::string(PAGOLIN_NEWSITE) + " " + site + " >/dev/null").c_str()), 0);
    site_ = IncludeTrailingPathDelimiter(site);
  }
  void Exec(const std::string& sql) {
    TSqliteDb db;
    ASSERT_EQ(db.Open(site_ + "codes.db", SQLITE_OPEN_READWRITE), SQLITE_OK);
    ASSERT_EQ(db.Exec(sql), SQLITE_OK) << db.ErrorMessage();
  }
  std::string dir_, site_;
};

TEST_F(CompanyTest, IsThePlainValueOfTheCompanyVariable) {
  NewSite();
  Exec("UPDATE codes SET \"Description 1\" = 'M\xC3\xBCller Soft' WHERE \"Name\" = 'COMPANY'");
  EXPECT_EQ(CompanyName(site_), "Müller Soft");
}

TEST_F(CompanyTest, OnlyAVariableNamedExactlyCompanyCounts) {
  NewSite();
  Exec("UPDATE codes SET \"Type\" = 'Data' WHERE \"Name\" = 'COMPANY'");
  Exec("INSERT INTO codes (\"Name\", \"Type\", \"Description 1\") VALUES ('company', 'Variable', 'x')");
  EXPECT_EQ(CompanyName(site_), "");
}

TEST_F(CompanyTest, MissingOrForeignFileGivesEmpty) {
  EXPECT_EQ(CompanyName(dir_), "");
  std::filesystem::create_directory(dir_ + "bad");
  FILE* f = std::fopen((dir_ + "bad/codes.db").c_str(), "w");
  std::fputs("not a database", f);
  std::fclose(f);
  EXPECT_EQ(CompanyName(dir_ + "bad"), "");
}

}  // namespace
}  // namespace pagolin
