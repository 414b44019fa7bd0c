#include "core/pages/pagebuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/pages/fileinfo.h"
#include "core/platform/datetime.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

using testing::GifBytes;
using testing::TBuildSite;
using testing::TMessageRecorder;
using testing::WriteBytes;

const char* const kSections[] = {"Head",       "Head Stop", "Body",          "News Start",
                                 "News Stop",  "Products",  "Products Stop", "Links",
                                 "Links Stop", "Body Stop", "Title Page",    "Title Page Stop"};

class PageBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site_.Settings().DateFormat1 = "m-d-yyyy";
    site_.Settings().DateFormat2 = "dd.mm.yyyy";
    site_.Settings().DateTimeFormat1 = "m-d-yyyy hh:mm";
    site_.Settings().DateTimeFormat2 = "dd.mm.yyyy hh:nn";
    builder_.Clock = [] { return EncodeDate(1998, 3, 6) + EncodeTime(14, 5, 9, 0); };
  }
  // Every section as "[name]", and row templates that show every placeholder.
  void AddMarkers(const std::vector<std::string>& leaveOut = {}) {
    for (const char* name : kSections)
      if (std::find(leaveOut.begin(), leaveOut.end(), name) == leaveOut.end())
        site_.AddCode(name, std::string("[") + name + "]");
  }
  void AddRowTemplates() {
    site_.AddCode("News", "<N>%DATE%|%NEWSTITLE%|%NEWSBODY%</N>", "Data");
    site_.AddCode("Product",
                  "<P>%NAME%|%CATEGORY%|%FILENAME%|%FILESIZE%|%FILEDATE%|%IMAGE%|%DESCRIPTION%</P>", "Data");
    site_.AddCode("Link", "<L>%NAME%|%URL%|%IMAGE%|%DESCRIPTION%</L>", "Data");
  }
  // The lines of a page between "[start]" and "[stop]".
  std::string Rows(const std::string& page, const std::string& start, const std::string& stop) {
    const std::string text = site_.Page(page);
    const size_t from = text.find("[" + start + "]\r\n");
    const size_t to = text.find("[" + stop + "]");
    if (from == std::string::npos || to == std::string::npos) return "<markers missing>";
    const size_t begin = from + start.size() + 4;
    return text.substr(begin, to - begin);
  }

  TBuildSite site_;
  TPageBuilder builder_{site_.Data(), site_.Settings()};
};

TEST_F(PageBuilderTest, TitlePageHasHeadAndBodyButNoHeadStop) {
  AddMarkers();
  builder_.BuildPages();
  EXPECT_EQ(site_.Page("index.htm"),
            "<HTML>\r\n[Head]\r\n[Body]\r\n[Title Page][Title Page Stop]\r\n[Body Stop]\r\n</HTML>\r\n");
}

TEST_F(PageBuilderTest, TitlePageFillsLanguagePagesAndLastUpdateWithHoursAndMinutes) {
  site_.AddCode("Title Page",
                "<A HREF=\"%LANGUAGE1%\">1</A> <A HREF=\"%LANGUAGE2%\">2</A> %LASTUPDATE% %HOME%</P>");
  site_.AddCode("Title Page Stop", "</BODY>");
  site_.AddCode("Head", "<HEAD>\r\n");  // a piece ending in a line break leaves an empty line
  builder_.BuildPages();
  // Missing "Body" and "Body Stop" give empty lines.
  EXPECT_EQ(site_.Page("index.htm"),
            "<HTML>\r\n<HEAD>\r\n\r\n\r\n<A HREF=\"index1.htm\">1</A> <A HREF=\"index2.htm\">2</A> "
            "06.03.1998 14:05 index.htm</P></BODY>\r\n\r\n</HTML>\r\n");
}

TEST_F(PageBuilderTest, LanguagePagesFollowTheLayoutWithOneRowPerIncludedRecord) {
  AddMarkers();
  AddRowTemplates();
  site_.AddNews("1998-03-06 10:00:00", "Title <1>", "Titel ü", "Line1\r\nLine2", "Zeile");
  site_.AddNews("1998-01-02 10:00:00", "Hidden", "Versteckt", "x", "y", false);
  site_.AddProduct("Editor", "Tools", "", "", "Desc & more", "Beschreibung");
  site_.AddLink("Web", "Tools", "tools.htm?a=1&b=2", "", "Link one", "Verweis eins");
  builder_.BuildPages();
  EXPECT_EQ(site_.Page("index1.htm"),
            "<HTML>\r\n[Head]\r\n[Head Stop]\r\n[Body]\r\n[News Start]\r\n"
            "<N>3-6-1998|Title &lt;1&gt;|Line1<BR>Line2</N>\r\n"
            "[News Stop]\r\n[Products]\r\n"
            "<P>Editor|Tools|||||Desc & more</P>\r\n"
            "[Products Stop]\r\n[Links]\r\n"
            "<L>Tools|tools.htm?a=1&b=2||Link one</L>\r\n"
            "[Links Stop]\r\n[Body Stop]\r\n</HTML>\r\n");
  EXPECT_EQ(site_.Page("index2.htm"),
            "<HTML>\r\n[Head]\r\n[Head Stop]\r\n[Body]\r\n[News Start]\r\n"
            "<N>06.03.1998|Titel &uuml;|Zeile</N>\r\n"
            "[News Stop]\r\n[Products]\r\n"
            "<P>Editor|Tools|||||Beschreibung</P>\r\n"
            "[Products Stop]\r\n[Links]\r\n"
            "<L>Tools|tools.htm?a=1&b=2||Verweis eins</L>\r\n"
            "[Links Stop]\r\n[Body Stop]\r\n</HTML>\r\n");
  const std::string s = site_.Site();
  EXPECT_EQ(builder_.FileList,
            (std::vector<std::string>{s + "index.htm", s + "index2.htm", s + "index1.htm"}));
}

TEST_F(PageBuilderTest, RowsComeInIndexOrderAndSplitIntoLines) {
  AddMarkers();
  site_.AddCode("News", "%NEWSTITLE%\r\n", "Data");  // a final break starts no empty line
  site_.AddCode("Product", "%NAME%\n%CATEGORY%", "Data");
  site_.AddCode("Link", "%NAME%", "Data");
  site_.AddNews("1998-01-01 00:00:00", "old", "alt", "", "");
  site_.AddNews("1999-01-01 00:00:00", "new", "neu", "", "");
  site_.AddProduct("B", "Zeta", "", "", "", "");
  site_.AddProduct("A", "Alpha", "", "", "", "");
  site_.AddLink("Web", "Zulu", "", "", "", "");
  site_.AddLink("Tools", "Yankee", "", "", "", "");
  site_.AddLink("Tools", "Xray", "", "", "", "");
  builder_.BuildPages();
  EXPECT_EQ(Rows("index1.htm", "News Start", "News Stop"), "new\r\nold\r\n");
  EXPECT_EQ(Rows("index1.htm", "Products", "Products Stop"), "A\r\nAlpha\r\nB\r\nZeta\r\n");
  EXPECT_EQ(Rows("index1.htm", "Links", "Links Stop"), "Xray\r\nYankee\r\nZulu\r\n");
}

TEST_F(PageBuilderTest, ProductDownloadFileGivesNameSizeAndDateInTheLanguagesFormat) {
  AddMarkers();
  AddRowTemplates();
  WriteBytes(site_.Site() + "setup.zip", std::string(1536, 'z'));
  const TDateTime date = GetFileDate(site_.Site() + "setup.zip");
  site_.AddProduct("Editor", "Tools", "setup.zip", "", "", "");
  site_.AddProduct("Gone", "Tools", "missing.zip", "", "", "");
  builder_.BuildPages();
  EXPECT_EQ(Rows("index1.htm", "Products", "Products Stop"),
            "<P>Editor|Tools|setup.zip| (2 KB)|" + FormatDateTime("m-d-yyyy hh:mm", date) +
                "||</P>\r\n"
                "<P>Gone|Tools|missing.zip| (0 KB)|||</P>\r\n");
  EXPECT_EQ(Rows("index2.htm", "Products", "Products Stop"),
            "<P>Editor|Tools|setup.zip| (2 KB)|" + FormatDateTime("dd.mm.yyyy hh:nn", date) +
                "||</P>\r\n"
                "<P>Gone|Tools|missing.zip| (0 KB)|||</P>\r\n");
}

TEST_F(PageBuilderTest, ImagesGetTagsAndFileListHoldsDownloadsAndImagesOfLanguageOneInOrder) {
  AddMarkers();
  AddRowTemplates();
  WriteBytes(site_.Site() + "shot.gif", GifBytes(320, 200, 12 * 1024));
  WriteBytes(site_.Site() + "logo.jpg", std::string(3 * 1024, 'j'));
  site_.AddProduct("A&B <new>", "Tools", "a.zip", "shot.gif", "", "");
  site_.AddProduct("Second", "Tools", "", "shot.gif", "", "");
  site_.AddProduct("Left out", "Tools", "x.zip", "x.gif", "", "", false);
  site_.AddLink("Web", "Tools", "tools.htm", "logo.jpg", "", "");
  site_.AddLink("Web", "Plain", "plain.htm", "", "", "");
  builder_.BuildPages();
  const std::string shotTag = "<IMG SRC=\"shot.gif\" WIDTH=320 HEIGHT=200 BORDER=0 Alt=\"";
  EXPECT_EQ(Rows("index1.htm", "Products", "Products Stop"), "<P>A&B &lt;new&gt;|Tools|a.zip| (0 KB)||" +
                                                                 shotTag +
                                                                 "A&B &lt;new&gt; (12K)\">|</P>\r\n"
                                                                 "<P>Second|Tools||||" +
                                                                 shotTag + "Second (12K)\">|</P>\r\n");
  EXPECT_EQ(Rows("index1.htm", "Links", "Links Stop"),
            "<L>Plain|plain.htm||</L>\r\n"
            "<L>Tools|tools.htm|<A HREF=\"tools.htm\"><IMG SRC=\"logo.jpg\" BORDER=0 Alt=\"Tools "
            "(3K)\"></A>|</L>\r\n");
  EXPECT_EQ(Rows("index2.htm", "Links", "Links Stop"), Rows("index1.htm", "Links", "Links Stop"));
  const std::string s = site_.Site();
  EXPECT_EQ(builder_.FileList,
            (std::vector<std::string>{s + "index.htm", s + "index2.htm", s + "a.zip", s + "shot.gif",
                                      s + "shot.gif", s + "logo.jpg", s + "index1.htm"}));
}

TEST_F(PageBuilderTest, LaterStepsSearchWhatEarlierStepsInsertedAndLowerCaseStays) {
  AddMarkers();
  site_.AddCode("Product", "%NAME% %name%", "Data");
  site_.AddProduct("Has %CATEGORY% and %NAME%", "Tools", "", "", "", "");
  builder_.BuildPages();
  // The name holding its own placeholder is inserted once; the category step fills it in.
  EXPECT_EQ(Rows("index1.htm", "Products", "Products Stop"), "Has Tools and %NAME% %name%\r\n");
}

TEST_F(PageBuilderTest, MissingRowTemplatesAddNothingButStillListFiles) {
  AddMarkers();
  site_.AddNews("1998-01-01 00:00:00", "n", "n", "", "");
  site_.AddProduct("P", "C", "p.zip", "p.gif", "", "");
  site_.AddLink("W", "L", "u", "l.gif", "", "");
  builder_.BuildPages();
  EXPECT_EQ(Rows("index1.htm", "News Start", "News Stop"), "");
  EXPECT_EQ(Rows("index1.htm", "Products", "Products Stop"), "");
  EXPECT_EQ(Rows("index1.htm", "Links", "Links Stop"), "");
  const std::string s = site_.Site();
  EXPECT_EQ(builder_.FileList, (std::vector<std::string>{s + "index.htm", s + "index2.htm", s + "p.zip",
                                                         s + "p.gif", s + "l.gif", s + "index1.htm"}));
}

TEST_F(PageBuilderTest, VariablesAreReplacedLastThroughoutThePageContentsIncluded) {
  AddMarkers({"Body"});
  site_.AddCode("Body", "%COPY% %HOME% %%");
  site_.AddCode("Product", "%DESCRIPTION%", "Data");
  site_.AddVariable("COPY", "&copy; 1998 %HOME% %NAME%");
  site_.AddVariable("", "[empty name]");
  site_.AddProduct("P", "C", "", "", "Made by %COPY%", "");
  builder_.BuildPages();
  // %HOME% of a section is replaced when it is fetched, inside a variable it stays.
  EXPECT_NE(site_.Page("index.htm").find("&copy; 1998 %HOME% %NAME% index.htm [empty name]"),
            std::string::npos);
  EXPECT_EQ(Rows("index1.htm", "Products", "Products Stop"), "Made by &copy; 1998 %HOME% %NAME%\r\n");
}

TEST_F(PageBuilderTest, VariableHoldingItsOwnPlaceholderOrAnEndlessChainEnds) {
  AddMarkers({"Body"});
  site_.AddCode("Body", "%SELF% %%A%");
  site_.AddVariable("SELF", "[%SELF%]");
  site_.AddVariable("A", "A%%A");
  builder_.BuildPages();
  const std::string page = site_.Page("index.htm");
  EXPECT_NE(page.find("[%SELF%]"), std::string::npos);
  EXPECT_LT(page.size(), 100000u);
}

TEST_F(PageBuilderTest, HomePageWithoutExtension) {
  site_.Settings().WWWHomepageFile = "home";
  builder_.BuildPages();
  for (const char* name : {"home", "home1", "home2"}) EXPECT_TRUE(FileExists(site_.Site() + name)) << name;
}

TEST_F(PageBuilderTest, TextStartingWithABraceThatIsNotRtfShowsTheMessageAndPassesUnescaped) {
  AddMarkers();
  site_.AddCode("News", "%NEWSBODY%", "Data");
  site_.AddNews("1998-01-01 00:00:00", "", "", "{not <rtf>",
                "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl\\red0\\green0\\blue0;}"
                "\\pard\\plain\\f0\\fs20 \\b bold\\b0 \\par }");
  TMessageRecorder recorder;
  builder_.BuildPages();
  EXPECT_EQ(recorder.messages,
            std::vector<std::string>{"Parvel: RTF header is missing. Conversion aborted."});
  EXPECT_EQ(Rows("index1.htm", "News Start", "News Stop"), "{not <rtf>\r\n");
  EXPECT_NE(Rows("index2.htm", "News Start", "News Stop").find("<B>bold</B>"), std::string::npos);
}

// --- The walks: progress, Cancel, records set back. ---

TEST_F(PageBuilderTest, EmptyTablesAdvanceTheBarOncePerPassBeyondTheMaximum) {
  std::vector<std::pair<int, int>> seen;
  builder_.OnProgress = [&](int position, int maximum) { seen.emplace_back(position, maximum); };
  builder_.BuildPages();
  EXPECT_EQ(builder_.ProgressMax(), 2);
  EXPECT_EQ(builder_.ProgressPosition(), 7);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), std::make_pair(0, 2));
}

TEST_F(PageBuilderTest, EveryRowAdvancesTheBarIncludedOrNot) {
  site_.AddNews("1998-01-01 00:00:00", "", "", "", "", false);
  site_.AddNews("1998-01-02 00:00:00", "", "", "", "");
  site_.AddProduct("P", "C", "", "", "", "", false);
  site_.AddLink("W", "L", "", "", "", "");
  builder_.BuildPages();
  EXPECT_EQ(builder_.ProgressMax(), 2 * (1 + 2 + 1 + 1));
  EXPECT_EQ(builder_.ProgressPosition(), builder_.ProgressMax() - 1);
}

TEST_F(PageBuilderTest, CancelEndsEachLaterWalkAfterItsFirstRowAndStillWritesAllPages) {
  AddMarkers();
  site_.AddCode("News", "%NEWSTITLE%", "Data");
  site_.AddCode("Product", "%NAME%", "Data");
  site_.AddCode("Link", "%NAME%", "Data");
  for (int i = 1; i <= 4; ++i) {
    const std::string n = std::to_string(i);
    site_.AddNews("1998-01-0" + n + " 00:00:00", "n" + n, "n" + n, "", "");
    site_.AddProduct("p" + n, "c", "", "", "", "");
    site_.AddLink("w", "l" + n, "", "", "", "");
  }
  // Cancel is pressed while the second news row of language 2 is handled.
  TMessageRecorder recorder;
  recorder.onProcessMessages = [&] {
    if (builder_.ProgressPosition() == 3) builder_.Cancel();
  };
  builder_.BuildPages();
  EXPECT_TRUE(builder_.Cancelled());
  EXPECT_EQ(Rows("index2.htm", "News Start", "News Stop"), "n4\r\nn3\r\n");
  EXPECT_EQ(Rows("index2.htm", "Products", "Products Stop"), "p1\r\n");
  EXPECT_EQ(Rows("index2.htm", "Links", "Links Stop"), "l1\r\n");
  EXPECT_EQ(Rows("index1.htm", "News Start", "News Stop"), "n4\r\n");
  EXPECT_EQ(Rows("index1.htm", "Products", "Products Stop"), "p1\r\n");
  EXPECT_EQ(Rows("index1.htm", "Links", "Links Stop"), "l1\r\n");
  EXPECT_TRUE(FileExists(site_.Site() + "index.htm"));
  // The next build starts afresh.
  recorder.onProcessMessages = nullptr;
  builder_.FileList.clear();
  builder_.BuildPages();
  EXPECT_FALSE(builder_.Cancelled());
  EXPECT_EQ(Rows("index1.htm", "Links", "Links Stop"), "l1\r\nl2\r\nl3\r\nl4\r\n");
}

TEST_F(PageBuilderTest, TablesAreBackOnTheirRecordsAndProductsOnTheCategoryIndex) {
  AddMarkers();
  for (int i = 1; i <= 3; ++i) {
    const std::string n = std::to_string(i);
    site_.AddNews("1998-01-0" + n + " 00:00:00", "", "", "", "");
    site_.AddProduct("p" + n, "c" + n, "", "", "", "");
    site_.AddLink("w", "l" + n, "", "", "", "");
  }
  TDataModule2& dm = site_.Data();
  dm.tblProducts.SetIndexName("");
  for (TTable* t : {&dm.tblNews, &dm.tblProducts, &dm.tblLinks, &dm.tblCodes}) t->SetRecNo(2);
  builder_.BuildPages();
  for (TTable* t : {&dm.tblNews, &dm.tblProducts, &dm.tblLinks, &dm.tblCodes})
    EXPECT_EQ(t->RecNo(), 2) << t->TableName();
  EXPECT_EQ(dm.tblProducts.IndexName(), "byCategory");
}

// --- Errors end the build; what was entered stays, the tables are set back. ---

TEST_F(PageBuilderTest, MissingOutputFolderEndsTheBuildWithTheFileNamed) {
  AddMarkers();
  site_.Settings().UploadMethodFTP = true;
  site_.Settings().FTPUploadFile = site_.Site() + "no-such-folder";
  site_.Data().tblCodes.SetRecNo(3);
  try {
    builder_.BuildPages();
    FAIL() << "no error";
  } catch (const EBuildError& e) {
    EXPECT_NE(std::string(e.what()).find("no-such-folder/index.htm"), std::string::npos) << e.what();
  }
  EXPECT_EQ(builder_.FileList, std::vector<std::string>{site_.Site() + "no-such-folder/index.htm"});
  EXPECT_EQ(site_.Data().tblCodes.RecNo(), 3);
}

TEST_F(PageBuilderTest, ALanguagePageThatCannotBeWrittenLeavesTheEarlierFiles) {
  AddMarkers();
  site_.AddProduct("P", "C", "", "", "", "");
  std::filesystem::create_directory(site_.Site() + "index2.htm");  // a folder in the way
  site_.Data().tblProducts.SetRecNo(1);
  EXPECT_THROW(builder_.BuildPages(), EBuildError);
  EXPECT_TRUE(FileExists(site_.Site() + "index.htm"));
  EXPECT_EQ(builder_.FileList, std::vector<std::string>{site_.Site() + "index.htm"});
  EXPECT_EQ(site_.Data().tblProducts.RecNo(), 1);
}

TEST_F(PageBuilderTest, ADatabaseErrorEndsTheBuild) {
  site_.Data().tblLinks.Close();
  EXPECT_THROW(builder_.BuildPages(), EDatabaseError);
  EXPECT_FALSE(FileExists(site_.Site() + "index.htm"));
}

}  // namespace
}  // namespace pagolin
