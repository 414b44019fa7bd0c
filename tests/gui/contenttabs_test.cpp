// The main window's content tabs on a sample site, offscreen, driven as a person drives them:
// grids, editors, the orientation toggles, the file cells, "Copy to newsgroups" and a build.
#include <QtTest>

#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <fstream>
#include <memory>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/platform/filenames.h"
#include "core/platform/hooks.h"
#include "gui/app/contenttabs.h"
#include "gui/app/insertmenu.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/hinttracker.h"
#include "gui/components/nvrichpop.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgsettings.h"
#include "gui/pages/dlgprogress.h"
#include "support/dbsite.h"
#include "support/messagerecorder.h"
#include "support/modalhelper.h"

using namespace pagolin;
using test::TypeKeys;

namespace {

// Languages with letters beyond ASCII, default newsgroups and signatures (Windows-1252).
constexpr const char* kSettings =
    "[Languages]\r\nLanguage1=Fran\xe7"
    "ais\r\nLanguage2=Italiano\r\n"
    "[News]\r\nDefNewsgroup1=local.test\r\nDefNewsgroup2=local.other\r\n"
    "SignatureLines1=2\r\nSignature1_1=--\r\nSignature1_2=Jo\r\nSignatureLines2=1\r\nSignature2_1=Ciao\r\n";

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class ContentTabsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  std::string site_;
  std::unique_ptr<TProgram> program_;
  std::unique_ptr<test::TMessageRecorder> recorder_;  // answers Yes to every question

  TForm1& Form() { return program_->Form1(); }
  // Every text shown since the last look (messages, errors, then questions), one a line.
  std::string Shown() {
    std::string all;
    for (auto* texts : {&recorder_->messages, &recorder_->errors, &recorder_->questions}) {
      for (const std::string& t : *texts) all += t + "\n";
      texts->clear();
    }
    return all;
  }
  TDataModule2& Data() { return program_->DataModule2(); }
  void Focus(QWidget* w) {
    w->setFocus();
    QVERIFY(QTest::qWaitFor([w] { return w->hasFocus(); }));
  }
  void Click(TDBNavigator* nav, TNavigateBtn b) { QTest::mouseClick(nav->Button(b), Qt::LeftButton); }
  void ShowTab(QWidget* tab) { Form().pgcMain->setCurrentWidget(tab); }
  // The keyboard visits the tab's controls top to bottom, and left to right within a row.
  static void CheckTabOrder(QWidget* tab) {
    QStringList visited;
    QPoint last(-1, -1);
    for (QWidget* w = tab->nextInFocusChain(); w != tab; w = w->nextInFocusChain()) {
      if (!tab->isAncestorOf(w) || w->focusProxy() || !w->isVisible() || !w->isEnabled() ||
          !(w->focusPolicy() & Qt::TabFocus))
        continue;
      const QPoint at = w->mapTo(tab, QPoint(0, 0));
      visited << w->objectName();
      QVERIFY2(at.y() > last.y() + 12 || (std::abs(at.y() - last.y()) <= 12 && at.x() > last.x()),
               qPrintable(visited.join(QLatin1Char(' '))));
      last = at;
    }
    QVERIFY2(visited.size() >= 3, qPrintable(visited.join(QLatin1Char(' '))));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(test::PrepareSampleSite(dir_->path()));
    site_ = IncludeTrailingPathDelimiter(FromQ(dir_->path()));
    std::ofstream(site_ + "pagolin.ini", std::ios::binary) << kSettings;
    recorder_ = std::make_unique<test::TMessageRecorder>();
    recorder_->answer = TModalResult::mrYes;
    program_ = std::make_unique<TProgram>(site_);
    Form().resize(1280, 800);
    Form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form()));
  }
  void cleanup() {
    program_.reset();
    recorder_.reset();
  }

  // The language names reach every caption; every tab turns with one toggle and back, and its
  // tab order stays top to bottom, left to right.
  void captionsFollowTheLanguagesAndTogglingTwiceGivesTheFirstLayout() {
    const QString fr = QStringLiteral("Fran\u00e7ais"), it = QStringLiteral("Italiano");
    QCOMPARE(Form().tbsHotNews->DBGrid1->Columns(1).TitleCaption(), QStringLiteral("News Title ") + fr);
    QCOMPARE(Form().tbsHotNews->DBGrid1->Columns(2).TitleCaption(), QStringLiteral("News Title ") + it);
    QCOMPARE(Form().tbsCodes->DBGrid4->Columns(3).TitleCaption(), QStringLiteral("Description ") + it);
    QCOMPARE(Form().tbsCoolLinks->PageControl5->tabText(0), fr);
    QCOMPARE(Form().tbsProducts->PageControl4->tabText(1), it);

    for (TContentTab* tab : Form().pgcMain->findChildren<TContentTab*>()) {
      ShowTab(tab);
      QVERIFY(tab->GridOnTop());
      CheckTabOrder(tab);
      const QRect grid = tab->GridPanel()->geometry();
      QTest::mouseClick(tab->Toggle(), Qt::LeftButton);
      QVERIFY(!tab->GridOnTop());
      CheckTabOrder(tab);
      QVERIFY2(tab->GridPanel()->geometry().right() < tab->Toggle()->parentWidget()->geometry().left(),
               qPrintable(tab->objectName()));
      QCOMPARE(tab->Splitter()->handle(1)->cursor().shape(), Qt::SplitHCursor);
      QTest::mouseClick(tab->Toggle(), Qt::LeftButton);
      QCOMPARE(tab->GridPanel()->geometry(), grid);
      QCOMPARE(tab->Splitter()->handle(1)->cursor().shape(), Qt::SplitVCursor);
    }
    // The hint of the control under the mouse, or of the nearest one around it, in the status bar.
    TTabHotNews* news = Form().tbsHotNews;
    const std::pair<QWidget*, const char*> hinted[] = {
        {news->DateTimePicker1, "Release date"},
        {news->btnCopyToNews, "Add this news to 'Newsgroup Postings'"},
        {news->DBNavigator1->Button(TNavigateBtn::nbInsert), "Add news (Insert)"},
        {news->DBNavigator1->Button(TNavigateBtn::nbPost), "Save changes (Ctrl+Enter)"},
        {news->SpeedButton2, "Toggle orientation"},
        {news->DBGrid1->viewport(), "Hot news for your web page"},
        {news->DBRichEdit1->viewport(), "Welcome to Pagolin!"},
        {Form().tbsCodes->DBNavigator4->Button(TNavigateBtn::nbDelete), "Delete record (Ctrl+Delete)"},
        {Form().tbsMailAndNews->DBGrid5->viewport(), "Internet News Upload"},
    };
    for (const auto& [widget, hint] : hinted) {
      for (QWidget* tab = widget; tab; tab = tab->parentWidget())
        if (qobject_cast<TContentTab*>(tab)) ShowTab(tab);
      QTest::mouseMove(widget, QPoint(3, 3));
      QTRY_COMPARE(Form().StatusBar1->currentMessage(), QString::fromLatin1(hint));
    }
    // Neither panel goes below 88 pixels, and the window not below 420 by 420.
    TContentTab* codes = Form().tbsCodes;
    ShowTab(codes);
    codes->Splitter()->setSizes({10000, 1});
    QCOMPARE(codes->Splitter()->sizes().at(1), 88);
    Form().resize(100, 100);
    QCOMPARE(Form().size(), QSize(420, 420));
  }

  // A product typed into the grid, its description made bold and given a variable in the
  // editor, included, saved: the build puts it on the page.
  void aProductAddedThroughGridAndEditorReachesTheBuiltPage() {
    TTabProducts& tab = *Form().tbsProducts;
    Focus(tab.DBGrid2);
    Click(tab.DBNavigator2, TNavigateBtn::nbInsert);
    TypeKeys(tab.DBGrid2, "Zebrafox");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(HintOf(tab.DBGrid2), QStringLiteral("Product Information and files for your web page"));

    Focus(tab.dbrDescription);
    QTest::keyClick(tab.dbrDescription, Qt::Key_B, Qt::ControlModifier);
    TypeKeys(tab.dbrDescription, "Striped ");
    QTest::keyClick(tab.dbrDescription, Qt::Key_B, Qt::ControlModifier);
    TNVRichPop& menu = *Form().NVRichPop1;
    menu.Popup(tab.dbrDescription->mapToGlobal(QPoint(5, 5)), tab.dbrDescription);
    menu.hide();
    Form().InsertMenu->Globalscriptvariables1->actions().first()->trigger();  // %COMPANY%
    QCOMPARE(tab.dbrDescription->toPlainText(), QStringLiteral("Striped %COMPANY%"));
    QTest::mouseClick(tab.DBCheckBox1, Qt::LeftButton, {}, QPoint(6, tab.DBCheckBox1->height() / 2));
    Click(tab.DBNavigator2, TNavigateBtn::nbPost);
    QCOMPARE(Shown(), std::string());

    test::WhenModalNamed(QStringLiteral("dlgProgress"),
                         [](QWidget* w) { static_cast<TdlgProgress*>(w)->btnStartClick(); });
    Form().Build2Click();
    const std::string page = ReadFile(site_ + "index1.htm");
    QVERIFY(page.find("Zebrafox") != std::string::npos);
    QVERIFY(page.find("<B>Striped") != std::string::npos);
    QVERIFY(page.find("%COMPANY%") == std::string::npos);
  }

  // A web page's rich text pasted into a description: the picture is dropped at once with a
  // note in the status bar; saved and built, the page has the link as a link, the heading
  // larger, the numbers and table cells as text, and every character (references for those
  // the code page lacks).
  void aRichPasteReachesThePageAsTheEditorShowsIt() {
    TTabProducts& tab = *Form().tbsProducts;
    Focus(tab.dbrDescription);
    QTest::keyClick(tab.dbrDescription, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(tab.dbrDescription, Qt::Key_Return);
    auto* clip = new QMimeData;
    clip->setHtml(QStringLiteral(
        "<h2>Pro \u201cEdition\u201d</h2>"
        "<p>Only <b>\u20ac 20</b> in \u0141\u00f3d\u017a, \u4e2d\u6587 \U0001F600: "
        "<a href=\"https://shop.example.com/buy?item=1&amp;n=2\">buy here</a></p>"
        "<ol><li>fast</li><li>small</li></ol>"
        "<table><tr><td>Edition</td><td>Price</td></tr><tr><td>Pro</td><td>20</td></tr></table>"
        "<p><img src=\"https://shop.example.com/shot.png\" width=40 height=30> shot</p>"));
    clip->setText(QStringLiteral("plain alternative"));
    QGuiApplication::clipboard()->setMimeData(clip);
    QTest::keyClick(tab.dbrDescription, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Form().StatusBar1->currentMessage(),
             QStringLiteral("Pictures are not kept in descriptions; use the Screenshot field"));
    QTextCursor link = tab.dbrDescription->document()->find(QStringLiteral("buy here"));
    QCOMPARE(link.charFormat().anchorHref(), QStringLiteral("https://shop.example.com/buy?item=1&n=2"));
    link.clearSelection();
    tab.dbrDescription->setTextCursor(link);
    tab.dbrDescription->ensureCursorVisible();
    test::Screenshot(&Form(), QStringLiteral("paste_link"));
    Click(tab.DBNavigator2, TNavigateBtn::nbPost);
    QCOMPARE(Shown(), std::string());

    test::WhenModalNamed(QStringLiteral("dlgProgress"),
                         [](QWidget* w) { static_cast<TdlgProgress*>(w)->btnStartClick(); });
    Form().Build2Click();
    const std::string page = ReadFile(site_ + "index1.htm");
    for (const char* shown : {"<A HREF=\"https://shop.example.com/buy?item=1&amp;n=2\">", "buy here</A>",
                              "<FONT SIZE=4><B>Pro &#8220;Edition&#8221;", "&#8364; 20",
                              "&#321;&oacute;d&#378;, &#20013;&#25991; &#128512;:", "1. fast", "2. small",
                              "Edition\tPrice", "Pro\t20"})
      QVERIFY2(page.find(shown) != std::string::npos, shown);
    QVERIFY(page.find("shot.png") == std::string::npos);
  }

  // A news item typed into its title boxes and bodies, not saved, becomes two postings with
  // the signatures; the postings tab lists them and lets the new ones be marked for sending.
  void aNewsItemCopiedToTheNewsgroupsBecomesTwoPostings() {
    TTabHotNews& news = *Form().tbsHotNews;
    ShowTab(&news);
    Click(news.DBNavigator1, TNavigateBtn::nbInsert);
    struct Text {
      TDBEdit* title;
      TDBRichEdit* body;
      const char* subject;
      const char* lines[2];
    };
    const Text texts[] = {{news.DBEdit1, news.DBRichEdit1, "Zebrafox 1.0", {"Out now", "Enjoy"}},
                          {news.DBEdit2, news.DBRichEdit2, "Zebrafox 1.0 uscito", {"Disponibile", ""}}};
    QTest::mouseClick(news.btnCopyToNews, Qt::LeftButton);
    QCOMPARE(Shown(), std::string("News must have a subject.\n"));
    for (const Text& t : texts) {
      news.pgcHotNews->setCurrentWidget(t.title->parentWidget()->parentWidget());
      Focus(t.title);
      TypeKeys(t.title, t.subject);
      Focus(t.body);
      TypeKeys(t.body, t.lines[0]);
      QTest::keyClick(t.body, Qt::Key_Return);
      TypeKeys(t.body, t.lines[1]);
    }
    TTable& posts = Data().tblNewsPost;
    const int before = posts.RecordCount();
    QTest::mouseClick(news.btnCopyToNews, Qt::LeftButton);
    QCOMPARE(Shown(), std::string());
    QCOMPARE(posts.RecordCount(), before + 2);
    // The postings tab shows the two selected, the first current, and the status bar says so.
    TTabPostings& tab = *Form().tbsMailAndNews;
    QCOMPARE(Form().pgcMain->currentWidget(), &tab);
    QCOMPARE(Form().StatusBar1->currentMessage(), QStringLiteral("2 postings added for sending"));
    QCOMPARE(tab.DBEdit14->text(), QStringLiteral("Zebrafox 1.0"));
    QStringList selected;
    for (const QModelIndex& row : tab.DBGrid5->selectionModel()->selectedRows(2))
      selected << row.data().toString();
    selected.sort();
    QCOMPARE(selected, (QStringList{QStringLiteral("Zebrafox 1.0"), QStringLiteral("Zebrafox 1.0 uscito")}));
    QVERIFY(posts.Locate("Subject", "Zebrafox 1.0"));
    QCOMPARE(posts.FieldByName("Body").AsString(), std::string("Out now\r\nEnjoy\r\n--\r\nJo"));
    QCOMPARE(posts.FieldByName("Newsgroups").AsString(), std::string("local.test"));
    QVERIFY(posts.Locate("Subject", "Zebrafox 1.0 uscito"));
    QCOMPARE(posts.FieldByName("Body").AsString(), std::string("Disponibile\r\nCiao"));

    QCOMPARE(tab.DBGrid5->model()->rowCount(), before + 2);
    QCOMPARE(tab.DBEdit14->text(), QStringLiteral("Zebrafox 1.0 uscito"));
    QVERIFY(tab.dbcbxInclude->isEnabled());
    QTest::mouseClick(tab.dbcbxInclude, Qt::LeftButton, {}, QPoint(6, tab.dbcbxInclude->height() / 2));
    const QModelIndex send = tab.DBGrid5->currentIndex().siblingAtColumn(0);
    QCOMPARE(send.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    Click(tab.DBNavigator5, TNavigateBtn::nbPost);
    posts.Edit();
    posts.FieldByName("Date sent").SetAsDateTime(Now());
    posts.Post();
    QVERIFY(!tab.dbcbxInclude->isEnabled());  // sent: it cannot be marked again
  }

  // The sample site is what the program makes: its postings are those "Copy to newsgroups"
  // makes of its news (variables replaced, lines wrapped), its categories the grids' choices.
  void theSampleSiteIsWhatTheProgramMakes() {
    TTable& posts = Data().tblNewsPost;
    const auto postings = [&] {
      std::vector<std::string> rows;
      for (posts.First(); !posts.Eof(); posts.Next())
        rows.push_back(
            posts.FieldByName("Subject").AsString() + "|" + posts.FieldByName("Newsgroups").AsString() + "|" +
            std::to_string(posts.FieldByName("Send").IsNull()) + "|" + posts.FieldByName("Body").AsString());
      return rows;
    };
    const std::vector<std::string> sample = postings();
    posts.EmptyTable();
    TSettings& settings = program_->Settings();
    settings.DefNewsgroup1 = "misc.test";
    settings.DefNewsgroup2 = "de.test";
    settings.Signature1 = settings.Signature2 = {};
    QVERIFY(Data().tblNews.Locate("News Title 1", "Quillpad 2.0 released"));
    QTest::mouseClick(Form().tbsHotNews->btnCopyToNews, Qt::LeftButton);
    QCOMPARE(postings(), sample);

    const auto offered = [](TTable& table, TDBGrid* grid, int column) {
      for (table.First(); !table.Eof(); table.Next())
        if (!grid->Columns(column).PickList().contains(ToQ(table.FieldByName("Category").AsString())))
          return false;
      return true;
    };
    QVERIFY(offered(Data().tblProducts, Form().tbsProducts->DBGrid2, 1));
    QVERIFY(offered(Data().tblLinks, Form().tbsCoolLinks->DBGrid3, 0));
  }

  // A signature typed into the settings dialog keeps its "-- " and its indents in the file,
  // when read back, and in the postings Copy to newsgroups makes.
  void aSignatureKeepsItsBlanksThroughDialogFileAndPosting() {
    const QString typed = QStringLiteral("-- \n  Jo Elmwood\n\t+49 30 1234 \n");
    test::WhenModalNamed(QStringLiteral("dlgSettings"), [&](QWidget*) {
      program_->dlgSettings().Memo1->setPlainText(typed);
      QTest::mouseClick(program_->dlgSettings().btnOk, Qt::LeftButton);
    });
    Form().ToolButton3Click();
    const std::string file = ReadFile(site_ + "pagolin.ini");
    for (const char* line :
         {"\nSignature1_1=-- \r\n", "\nSignature1_2=  Jo Elmwood\r\n", "\nSignature1_3=\t+49 30 1234 \r\n"})
      QVERIFY2(file.find(line) != std::string::npos, line);
    program_->dlgSettings().Memo1->clear();
    program_->dlgSettings().LoadSettings();  // the file read again, as at the next start
    QCOMPARE(program_->dlgSettings().Memo1->toPlainText(), typed);

    ShowTab(Form().tbsHotNews);
    QTest::mouseClick(Form().tbsHotNews->btnCopyToNews, Qt::LeftButton);
    TTable& posts = Data().tblNewsPost;
    QVERIFY(posts.Locate("Subject", "Draft: summer plans"));
    QCOMPARE(posts.FieldByName("Body").AsString(),
             std::string("Not yet for the site.\r\n-- \r\n  Jo Elmwood\r\n\t+49 30 1234 "));
  }

  // The ellipsis of a file cell: a file from elsewhere is copied into the output folder when
  // the person agrees, and only its name is stored.
  void aFileChosenForAScreenshotIsCopiedAndStoredByName() {
    TTabProducts& tab = *Form().tbsProducts;
    QTemporaryDir elsewhere;
    const std::string shot = FromQ(elsewhere.path()) + "/zebra.gif";
    std::ofstream(shot, std::ios::binary) << "GIF89a";
    Focus(tab.DBGrid2);
    tab.DBGrid2->setCurrentIndex(tab.DBGrid2->model()->index(0, 3));
    QString directory;
    test::WhenModalNamed(QStringLiteral("OpenDialog1"), [&](QWidget* w) {
      auto* dialog = static_cast<QFileDialog*>(w);
      directory = dialog->directory().absolutePath() + QLatin1Char('/');
      QVERIFY(dialog->nameFilters().first().startsWith(QStringLiteral("GIF image files")));
      dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(ToQ(shot));
      QTRY_COMPARE(dialog->selectedFiles(), QStringList(ToQ(shot)));
      QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::keyClick(tab.DBGrid2, Qt::Key_F4);
    QCOMPARE(FromQ(directory), site_);
    QCOMPARE(Shown(), std::string("Copy zebra.gif into the upload folder?\n"));
    QCOMPARE(ReadFile(site_ + "zebra.gif"), std::string("GIF89a"));
    QCOMPARE(Data().tblProducts.State(), TDataSetState::dsBrowse);
    QCOMPARE(Data().tblProducts.FieldByName("Screenshot").AsString(), std::string("zebra.gif"));
  }
};

QTEST_MAIN(ContentTabsTest)
#include "contenttabs_test.moc"
