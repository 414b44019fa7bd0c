// pagolin-newsite DIR --import OLDFOLDER, run as the program it is, on old folders whose
// tables pxlib writes here.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <functional>
#include <map>
#include <random>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/data/siteschema.h"
#include "core/pages/pagebuilder.h"
#include "core/platform/codepage.h"
#include "core/platform/inifile.h"
#include "core/platform/sqlitedb.h"
#include "support/iconvtext.h"
#include "support/paradoxwriter.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

namespace fs = std::filesystem;
using testing::TPxRecord;
using Table = std::vector<TPxRecord>;

// The fields an old table of def had: alpha texts, memos with a 20-byte leader, logicals,
// timestamps.
std::vector<testing::TPxFieldSpec> OldFields(const TTableDef& def) {
  std::vector<testing::TPxFieldSpec> fields;
  for (const TFieldDef& f : def.fields) {
    switch (f.kind) {
      case TFieldKind::fkText: fields.push_back({f.name, pxfAlpha, 255}); break;
      case TFieldKind::fkMemo: fields.push_back({f.name, pxfMemoBLOb, 30}); break;
      case TFieldKind::fkLogical: fields.push_back({f.name, pxfLogical, 1}); break;
      case TFieldKind::fkDateTime: fields.push_back({f.name, pxfTimestamp, 8}); break;
    }
  }
  return fields;
}

// Old file names in the spellings people have: upper case, the memo file in other case.
std::pair<std::string, std::string> OldNames(const TTableDef& def) {
  const std::string base = def.fileName.substr(0, def.fileName.find('.'));
  std::string upper = base;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (&def == &ProductsTableDef()) return {upper + ".DB", base + ".mb"};
  return {def.fileName, upper + ".MB"};
}

void WriteOldSite(const std::string& folder, int codePage, const std::map<const TTableDef*, Table>& tables) {
  fs::create_directories(folder);
  for (const TTableDef* def : SiteTableDefs()) {
    const auto [db, mb] = OldNames(*def);
    const auto it = tables.find(def);
    testing::WriteParadoxTable(folder + db, folder + mb, codePage, OldFields(*def),
                               it == tables.end() ? Table{} : it->second);
  }
}

// Every file of a folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder))
    files[e.path().filename().string()] = testing::ReadText(e.path());
  return files;
}

// The rows of a site table file, every column as text ("<null>" for NULL), in rowid order.
std::vector<std::vector<std::string>> Rows(const std::string& file, const TTableDef& def) {
  TSqliteDb db;
  EXPECT_EQ(db.Open(file, SQLITE_OPEN_READONLY), SQLITE_OK) << file;
  TSqliteStmt stmt;
  EXPECT_EQ(stmt.Prepare(db.Handle(), "SELECT * FROM " + QuoteIdentifier(def.tableName) + " ORDER BY rowid"),
            SQLITE_OK);
  std::vector<std::vector<std::string>> rows;
  while (stmt.Step() == SQLITE_ROW) {
    rows.emplace_back();
    for (int c = 0; c < static_cast<int>(def.fields.size()); ++c)
      rows.back().push_back(stmt.ColumnText(c).value_or("<null>"));
  }
  return rows;
}

class SiteImportTest : public ::testing::Test {
 protected:
  std::string Old() const { return root_.Path() + "old/"; }
  std::string Site() const { return root_.Path() + "site/"; }
  // Runs pagolin-newsite with args; keeps its output and error output.
  int Run(const std::string& args) {
    const std::string cmd = std::string("'") + PAGOLIN_NEWSITE + "' " + args + " >'" + root_.Path() +
                            "out.txt' 2>'" + root_.Path() + "err.txt'";
    const int status = std::system(cmd.c_str());
    out_ = testing::ReadText(root_.Path() + "out.txt");
    err_ = testing::ReadText(root_.Path() + "err.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int Import() { return Run("'" + Site() + "' --import '" + Old() + "'"); }

  testing::TTempFolder root_;
  std::string out_, err_;
};

// A thousand records in each table, in each code page: accented letters, memos shorter and
// longer than the part kept in the record, NULLs. Every value is compared with what the C
// library's iconv makes of the same bytes.
TEST_F(SiteImportTest, AThousandRecordsPerTableComeOverValueForValueInEachCodePage) {
  for (int codePage : {437, 850, 1252}) {
    SCOPED_TRACE(codePage);
    fs::remove_all(Old());
    fs::remove_all(Site());
    std::mt19937 rnd(static_cast<unsigned>(codePage));
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(n)); };
    auto text = [&](int length) {
      std::string s;
      while (static_cast<int>(s.size()) < length) {
        const int b = pick(3) == 0 ? 0x80 + pick(128) : 0x20 + pick(0x5F);
        if (codePage == 1252 && (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)) continue;
        s += static_cast<char>(b);
      }
      return s;
    };
    std::map<const TTableDef*, Table> tables;
    std::map<const TTableDef*, std::vector<std::vector<std::string>>> expected;
    for (const TTableDef* def : SiteTableDefs()) {
      for (int r = 0; r < 1000; ++r) {
        TPxRecord record;
        std::vector<std::string> row;
        for (const TFieldDef& f : def->fields) {
          std::optional<std::string> v, want;
          if (pick(8) != 0) {
            switch (f.kind) {
              case TFieldKind::fkText: v = text(1 + pick(60)); break;
              case TFieldKind::fkMemo:
                v = pick(3) == 0 ? text(1 + pick(20)) : "{\\rtf1\\ansi " + text(64 + pick(3000)) + "}";
                break;
              case TFieldKind::fkLogical: v = pick(2) ? "1" : "0"; break;
              case TFieldKind::fkDateTime:
                v = DateTimeToStorageText(EncodeDate(1995, 1, 1) + pick(13000) + pick(86400) / 86400.0);
                break;
            }
            want = f.kind == TFieldKind::fkText || f.kind == TFieldKind::fkMemo
                       ? testing::IconvToUtf8(*v, codePage)
                       : *v;
          }
          record.push_back(v);
          row.push_back(want.value_or("<null>"));
        }
        tables[def].push_back(record);
        expected[def].push_back(row);
      }
    }
    WriteOldSite(Old(), codePage, tables);
    ASSERT_EQ(Import(), 0) << out_ << err_;
    for (const TTableDef* def : SiteTableDefs()) {
      EXPECT_NE(out_.find(def->fileName + " (from \"" + Old() + OldNames(*def).first + "\", code page " +
                          std::to_string(codePage) + "): 1000 read, 1000 written, 0 skipped"),
                std::string::npos)
          << out_;
      const auto rows = Rows(Site() + def->fileName, *def);
      ASSERT_EQ(rows.size(), 1000u) << def->fileName;
      for (std::size_t r = 0; r < rows.size(); ++r)
        ASSERT_EQ(rows[r], expected[def][r]) << def->fileName << " record " << r + 1;
    }
    EXPECT_NE(out_.find("Every record came over."), std::string::npos) << out_;
    TDataModule2 dm(Site());
    EXPECT_NO_THROW(dm.DataModule2Create());  // the program opens what the import made
  }
}

// The pages of the imported sample site equal those of the sample site pagolin-newsite made,
// byte for byte.
TEST_F(SiteImportTest, TheImportedSampleSiteBuildsTheSamePagesAsTheSampleItself) {
  const std::string sample = root_.Path() + "sample/";
  ASSERT_EQ(Run("--sample '" + sample + "'"), 0) << err_;
  std::map<const TTableDef*, Table> tables;
  for (const TTableDef* def : SiteTableDefs())
    for (const auto& row : Rows(sample + def->fileName, *def)) {
      TPxRecord record;
      for (std::size_t c = 0; c < row.size(); ++c)
        record.push_back(row[c] == "<null>" ? std::nullopt : std::optional<std::string>(Utf8ToAnsi(row[c])));
      tables[def].push_back(record);
    }
  WriteOldSite(Old(), 1252, tables);
  ASSERT_EQ(Import(), 0) << out_ << err_;
  for (const auto& e : fs::directory_iterator(sample)) {  // the pictures and downloads
    if (fs::exists(Site() + e.path().filename().string())) continue;
    fs::copy_file(e.path(), Site() + e.path().filename().string());
    fs::last_write_time(Site() + e.path().filename().string(), fs::last_write_time(e.path()));
  }
  auto build = [](const std::string& site) {
    TDataModule2 dm(site);
    dm.DataModule2Create();
    TSettings settings(site);
    std::string error, warning;
    settings.LoadSettings(error, warning);
    TPageBuilder builder(dm, settings);
    builder.Clock = [] { return EncodeDate(2026, 4, 1) + EncodeTime(12, 0, 0, 0); };
    builder.BuildPages();
    std::vector<std::string> pages;
    for (const char* page : {"index.htm", "index1.htm", "index2.htm"})
      pages.push_back(testing::ReadText(site + page));
    return pages;
  };
  const std::vector<std::string> direct = build(sample), imported = build(Site());
  ASSERT_GT(direct[1].size(), 5000u);
  EXPECT_NE(direct[1].find("Quillpad"), std::string::npos);
  EXPECT_EQ(imported, direct);
}

TEST_F(SiteImportTest, TheSettingsComeOverWithTheirWindowsFoldersPointingToTheNewSite) {
  WriteOldSite(Old(), 1252, {});
  const std::string ini =
      "; written on Windows\r\n[Settings]\r\nUploadMethodFTP=1\r\nFTPUploadFile=C:\\Web\\Out\r\n"
      "ZIPUploadFile=C:\\Web\\site.zip\r\nWWWHomepageFile=start.htm\r\n[News]\r\nServer=news.example.com\r\n"
      "DefNewsgroup1=comp.os.misc\r\nDefNewsgroup2=de.comp.misc\r\nSignatureLines1=2\r\nSignatureLines2=0\r\n"
      "Signature1_1=-- \r\nSignature1_2=Gr\xfc\xdf"
      "e\r\n[Identification]\r\nName=Ann\r\nEMailAddress=ann@example.com\r\n"
      "ReplyAddress=r@example.com\r\nOrganization=Elm\r\n[Languages]\r\nLanguage1=English\r\nLanguage2="
      "Fran\xe7"
      "ais\r\n"
      "DateFormat1=dd.mm.yyyy\r\nDateFormat2=dddddd\r\nDateTimeFormat1=m-d-yyyy "
      "hh:mm\r\nDateTimeFormat2=ddddd t\r\n";
  testing::WriteBytes(Old() + "PAGOLIN.INI", ini);
  const auto before = Snapshot(Old());
  ASSERT_EQ(Import(), 0) << out_ << err_;
  EXPECT_EQ(Snapshot(Old()), before);

  TSettings s(Site());
  std::string error, warning;
  ASSERT_TRUE(s.LoadSettings(error, warning)) << error;
  EXPECT_EQ(warning, "");
  EXPECT_TRUE(s.UploadMethodFTP);
  EXPECT_EQ(s.FTPUploadFile, ExcludeTrailingPathDelimiter(Site()));
  EXPECT_EQ(s.ZIPUploadFile, Site() + "site.zip");
  EXPECT_EQ(s.WWWHomepageFile, "start.htm");
  EXPECT_EQ(s.Server, "news.example.com");
  EXPECT_EQ(s.DefNewsgroup2, "de.comp.misc");
  // The old file's code page read as UTF-8 text.
  EXPECT_EQ(s.Signature1, (std::vector<std::string>{"-- ", "Grüße"}));
  EXPECT_EQ(s.ReplyAddress, "r@example.com");
  EXPECT_EQ(s.Language2, "Français");
  const TIniFile written(Site() + "pagolin.ini");
  EXPECT_EQ(written.ReadString("Languages", "DateFormat1", ""), "dd.mm.yyyy");  // kept as stored
  EXPECT_EQ(written.ReadString("Imported", "FTPUploadFile", ""), "C:\\Web\\Out");
  EXPECT_EQ(written.ReadString("Imported", "ZIPUploadFile", ""), "C:\\Web\\site.zip");
  EXPECT_NE(written.ReadString("Imported", "Note", "").find("FTPUploadFile, ZIPUploadFile"),
            std::string::npos);
  EXPECT_NE(out_.find("[Imported]"), std::string::npos) << out_;
}

// Each bad old folder: a clear message naming the file, exit status 1, no site folder and the
// old folder untouched. Index files are not read, so missing or damaged ones do no harm.
TEST_F(SiteImportTest, BadOldFilesStopTheImportWithTheirNameAndLeaveNothingBehind) {
  const Table products = {{std::string("Kit"), std::string("Tools"), std::nullopt, std::nullopt,
                           std::string(300, 'd'), std::nullopt, std::string("1")}};
  struct Case {
    const char* what;
    std::function<void(const std::string& old)> spoil;
    const char* message;  // nullptr: the import succeeds
  };
  auto truncate = [](const std::string& file, std::size_t size) { fs::resize_file(file, size); };
  const std::vector<Case> cases = {
      {"truncated table", [&](const std::string& o) { truncate(o + "PRODUCT.DB", 2100); },
       "PRODUCT.DB\" cannot be imported: it is truncated"},
      {"tiny table", [&](const std::string& o) { truncate(o + "news.db", 40); },
       "news.db\" cannot be imported: it is too short"},
      {"foreign table",
       [](const std::string& o) {
         testing::WriteBytes(o + "links.db", "SQLite format 3" + std::string(5000, 'x'));
       },
       "links.db\" cannot be imported: it is no table file"},
      {"index in place of the table",
       [](const std::string& o) {
         std::string b = testing::ReadText(o + "codes.db");
         b[4] = 1;
         testing::WriteBytes(o + "codes.db", b);
       },
       "codes.db\" cannot be imported: it is an index file"},
      {"missing memo file", [](const std::string& o) { fs::remove(o + "product.mb"); },
       "PRODUCT.DB\" has memo fields, but its memo file"},
      {"damaged memo file",
       [](const std::string& o) { testing::WriteBytes(o + "product.mb", std::string(5000, 'z')); },
       "product.mb\" is no memo file"},
      {"unknown code page",
       [](const std::string& o) {
         std::string b = testing::ReadText(o + "newspost.db");
         b[0x6A] = static_cast<char>(1250 & 0xFF);
         b[0x6B] = static_cast<char>(1250 >> 8);
         testing::WriteBytes(o + "newspost.db", b);
       },
       "newspost.db\" is written in code page 1250"},
      {"missing table", [](const std::string& o) { fs::remove(o + "codes.db"); }, "holds no \"codes.db\""},
      {"missing and damaged index files",
       [](const std::string& o) {
         testing::WriteBytes(o + "PRODUCT.PX", "garbage");
         testing::WriteBytes(o + "PRODUCT.X02", std::string(3000, '\xff'));
         testing::WriteBytes(o + "news.YG0", "");
       },
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(Old());
    fs::remove_all(Site());
    WriteOldSite(Old(), 1252, {{&ProductsTableDef(), products}});
    c.spoil(Old());
    const auto before = Snapshot(Old());
    const int status = Import();
    EXPECT_EQ(Snapshot(Old()), before);
    if (!c.message) {
      EXPECT_EQ(status, 0) << out_ << err_;
      EXPECT_EQ(Rows(Site() + "product.DB", ProductsTableDef()).at(0).at(4), std::string(300, 'd'));
      continue;
    }
    EXPECT_EQ(status, 1);
    EXPECT_NE(err_.find(c.message), std::string::npos) << err_;
    EXPECT_FALSE(fs::exists(Site())) << "left behind";
  }
}

// A record whose memo the memo file does not hold, and a field no site table has: both are
// reported, the rest comes over, and the exit status says not everything did.
TEST_F(SiteImportTest, DamagedRecordsAndUnknownFieldsAreReportedAndSkipped) {
  WriteOldSite(Old(), 1252, {});
  std::vector<testing::TPxFieldSpec> fields = OldFields(NewsTableDef());
  fields.push_back({"Rating", pxfAlpha, 10});
  Table news;
  for (int i = 0; i < 5; ++i)
    news.push_back({std::string("2001-02-03 04:05:06"), "Title " + std::to_string(i), std::nullopt,
                    std::string(100 + i, static_cast<char>('a' + i)), std::nullopt, std::string("1"),
                    std::string("5")});
  testing::WriteParadoxTable(Old() + "news.db", Old() + "NEWS.MB", 1252, fields, news);
  std::string mb = testing::ReadText(Old() + "NEWS.MB");
  mb[4096 + 12 + 5 * 61 + 4] = 0;  // the third memo (entries are used from 63 down) is deleted
  testing::WriteBytes(Old() + "NEWS.MB", mb);
  testing::WriteBytes(Old() + "orders.db", "not ours");

  EXPECT_EQ(Import(), 1) << out_ << err_;
  EXPECT_NE(
      out_.find("news.db (from \"" + Old() + "news.db\", code page 1252): 5 read, 4 written, 1 skipped"),
      std::string::npos)
      << out_;
  EXPECT_NE(out_.find("record 3 was skipped: its field \"News Body 1\" cannot be read"), std::string::npos)
      << out_;
  EXPECT_NE(out_.find("\"Rating\" (alpha) is not part of a site table"), std::string::npos) << out_;
  EXPECT_NE(out_.find("orders.db\" is not a table of a site"), std::string::npos) << out_;
  const auto rows = Rows(Site() + "news.db", NewsTableDef());
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2][1], "Title 3");
  EXPECT_EQ(rows[2][3], std::string(103, 'd'));
}

TEST_F(SiteImportTest, AFolderHoldingASiteIsNeverOverwritten) {
  WriteOldSite(Old(), 1252, {});
  fs::create_directories(Site());
  testing::WriteBytes(Site() + "pagolin.ini", "mine");
  EXPECT_EQ(Import(), 1);
  EXPECT_NE(err_.find("already holds \"pagolin.ini\""), std::string::npos) << err_;
  EXPECT_EQ(Snapshot(Site()), (std::map<std::string, std::string>{{"pagolin.ini", "mine"}}));
  EXPECT_EQ(Run("'" + Site() + "' --sample --import '" + Old() + "'"), 2);
}

}  // namespace
}  // namespace pagolin
