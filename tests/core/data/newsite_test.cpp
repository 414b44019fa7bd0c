// pagolin-newsite, run as the program it is.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/data/datamod.h"
#include "core/data/siteschema.h"

namespace pagolin {
namespace {

namespace fs = std::filesystem;

class NewSiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/newsite_test_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = std::string(tmpl) + "/";
  }
  void TearDown() override { fs::remove_all(root_); }
  // Runs the tool; returns its exit status and keeps its error output.
  int Run(const std::string& args) {
    const std::string cmd =
        std::string("'") + PAGOLIN_NEWSITE + "' " + args + " >/dev/null 2>'" + root_ + "err.txt'";
    const int status = std::system(cmd.c_str());
    std::ifstream in(root_ + "err.txt");
    std::stringstream ss;
    ss << in.rdbuf();
    err_ = ss.str();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string root_, err_;
};

TEST_F(NewSiteTest, PreparesASiteTheDataModuleOpens) {
  const std::string site = root_ + "a/b/site";
  ASSERT_EQ(Run("'" + site + "'"), 0) << err_;
  for (const TTableDef* def : SiteTableDefs())
    EXPECT_TRUE(fs::exists(site + "/" + def->fileName)) << def->fileName;
  EXPECT_EQ(std::distance(fs::directory_iterator(site), fs::directory_iterator()), 5);  // no leftovers
  TDataModule2 dm(site);
  dm.DataModule2Create();
  EXPECT_GT(dm.tblCodes.RecordCount(), 0);
  EXPECT_TRUE(dm.tblProducts.IsEmpty());
  EXPECT_TRUE(dm.tblNews.IsEmpty());
  EXPECT_TRUE(dm.tblNewsPost.IsEmpty());
}

TEST_F(NewSiteTest, SampleFillsTheContentTables) {
  ASSERT_EQ(Run("--sample '" + root_ + "site'"), 0) << err_;
  TDataModule2 dm(root_ + "site");
  dm.DataModule2Create();
  EXPECT_GT(dm.tblProducts.RecordCount(), 0);
  EXPECT_GT(dm.tblNews.RecordCount(), 0);
  EXPECT_GT(dm.tblLinks.RecordCount(), 0);
  EXPECT_GT(dm.tblNewsPost.RecordCount(), 0);
  EXPECT_NE(dm.tblNews.FieldByName("Date").AsDateTime(), 0);
}

TEST_F(NewSiteTest, RefusesAFolderHoldingAnyTableFileAndTouchesNothing) {
  const std::string site = root_ + "site/";
  fs::create_directories(site);
  std::ofstream(site + "newspost.db") << "mine";
  EXPECT_EQ(Run("'" + site + "'"), 1);
  EXPECT_NE(err_.find("newspost.db"), std::string::npos) << err_;
  EXPECT_EQ(std::distance(fs::directory_iterator(site), fs::directory_iterator()), 1);
  std::ifstream in(site + "newspost.db");
  std::string content;
  in >> content;
  EXPECT_EQ(content, "mine");
  EXPECT_EQ(Run(""), 2);
  EXPECT_EQ(Run("'" + site + "' --bogus"), 2);
}

// An installed program lies among other programs: it then works on ~/Pagolin.
TEST_F(NewSiteTest, TheDefaultSiteIsTheProgramsFolderOnlyWhenItHoldsASite) {
  const std::string program = root_ + "bin/";
  fs::create_directories(program);
  EXPECT_EQ(DefaultSiteFolder(program, root_ + "home"), root_ + "home/Pagolin/");
  EXPECT_EQ(DefaultSiteFolder(program, ""), program);
  std::ofstream(program + "codes.db") << "";
  EXPECT_EQ(DefaultSiteFolder(root_ + "bin", root_ + "home"), program);
}

}  // namespace
}  // namespace pagolin
