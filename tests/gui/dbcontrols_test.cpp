// The data-aware controls together on the tables of a sample site, offscreen: a news form and
// a postings form built as the main window's tabs are, driven by typing and clicks.
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "core/data/datamod.h"
#include "core/platform/sqlitedb.h"
#include "gui/app/contenttabs.h"
#include "gui/components/localeformats.h"
#include "gui/widgets/datetimepicker.h"
#include "gui/widgets/dbcheckbox.h"
#include "gui/widgets/dbedit.h"
#include "gui/widgets/dbgrid.h"
#include "gui/widgets/dbnavigator.h"
#include "gui/widgets/dbrichedit.h"
#include "support/dbsite.h"
#include "support/modalhelper.h"

using namespace pagolin;
using pagolin::test::Screenshot;
using pagolin::test::TDBTestSite;
using pagolin::test::TypeKeys;

namespace {

// The parts of a content tab: grid, navigator, check box and editors over one data source,
// in a form of their own or in the main window's news tab.
struct TTabForm {
  QWidget window;
  TDBGrid* grid = nullptr;
  TDBNavigator* navigator = nullptr;
  TDBCheckBox* include = nullptr;
  TDBEdit* title = nullptr;
  TDBRichEdit* memo = nullptr;  // the body, in plain mode as on the postings tab
  TDBEdit* hiddenDate = nullptr;
  TDateTimePicker* picker = nullptr;

  TTabForm(TDataSource& source, const std::string& titleField, const std::string& includeField)
      : grid(new TDBGrid(&window)),
        navigator(new TDBNavigator(&window)),
        include(new TDBCheckBox(QStringLiteral("Include"), &window)),
        title(new TDBEdit(&window)) {
    auto* layout = new QVBoxLayout(&window);
    auto* strip = new QHBoxLayout;
    layout->addWidget(grid, 1);
    layout->addLayout(strip);
    layout->addWidget(title);
    strip->addWidget(navigator);
    strip->addWidget(include);
    grid->SetDataSource(&source);
    navigator->SetDataSource(&source);
    navigator->SetVisibleButtons(
        {TNavigateBtn::nbInsert, TNavigateBtn::nbDelete, TNavigateBtn::nbPost, TNavigateBtn::nbCancel});
    include->SetDataSource(&source);
    include->SetDataField(includeField);
    title->SetDataSource(&source);
    title->SetDataField(titleField);
    window.resize(760, 420);
  }
  // The main window's news tab, with its hidden date box and date picker.
  explicit TTabForm(TDataModule2& data) {
    auto* tab = new TTabHotNews(data, &window);
    (new QVBoxLayout(&window))->addWidget(tab);
    grid = tab->DBGrid1;
    navigator = tab->DBNavigator1;
    include = tab->DBCheckBox2;
    title = tab->DBEdit1;
    hiddenDate = tab->DBEdit3;
    picker = tab->DateTimePicker1;
    window.resize(760, 420);
  }
  void AddMemo(TDataSource& source, const std::string& field) {
    memo = new TDBRichEdit(&window);
    memo->setObjectName(QStringLiteral("DBRichEdit3"));
    memo->SetPlainText(true);
    window.layout()->addWidget(memo);
    memo->SetDataSource(&source);
    memo->SetDataField(field);
  }
  bool Show() {
    window.show();
    return QTest::qWaitForWindowExposed(&window);
  }
  void Focus(QWidget* w) {
    w->setFocus();
    QVERIFY(QTest::qWaitFor([w] { return w->hasFocus(); }));
  }
  void Click(TNavigateBtn b) { QTest::mouseClick(navigator->Button(b), Qt::LeftButton); }
  QString Cell(int row, int column) const { return grid->model()->index(row, column).data().toString(); }
};

}  // namespace

class DBControlsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TDBTestSite> site_;
  std::unique_ptr<TTabForm> form_;

  TTable& News() { return site_->Data().tblNews; }
  TTable& Posts() { return site_->Data().tblNewsPost; }
  // The news tab: newest first (draft 20 March, offer 10 March, Quillpad, Ledgerlite).
  bool ShowNews() {
    form_ = std::make_unique<TTabForm>(site_->Data());
    return form_->Show();
  }
  // The postings tab: a read-only grid with whole rows, subject and body below.
  bool ShowPostings() {
    form_ = std::make_unique<TTabForm>(site_->Data().dsNewsPost, "Subject", "Send");
    form_->grid->AddColumn("Send", {}, 48);
    form_->grid->AddColumn("Date sent", {}, 182);
    form_->grid->AddColumn("Subject", {}, 207);
    form_->grid->AddColumn("Newsgroups", {}, 600);
    form_->grid->SetOptions(TDBGridOption::dgTitles | TDBGridOption::dgColLines | TDBGridOption::dgRowLines |
                            TDBGridOption::dgRowSelect);
    form_->grid->SetReadOnly(true);
    form_->navigator->SetHint(TNavigateBtn::nbPost, QStringLiteral("Save changes"));
    form_->AddMemo(site_->Data().dsNewsPost, "Body");
    return form_->Show();
  }
  std::string Today() const { return DateTimeToStorageText(Now()).substr(0, 10); }

 private slots:
  void init() { site_ = std::make_unique<TDBTestSite>(); }
  void cleanup() {
    form_.reset();
    site_.reset();
  }

  void theGridAndTheEditsStayInStepWhicheverMovesOrWrites() {
    QVERIFY(ShowNews());
    QCOMPARE(form_->title->text(), QStringLiteral("Draft: summer plans"));
    QVERIFY(!form_->include->isChecked());
    form_->Focus(form_->grid);
    QTest::keyClick(form_->grid, Qt::Key_Down);
    QCOMPARE(form_->title->text(), QStringLiteral("Spring offer: 20% off every licence"));
    QVERIFY(form_->include->isChecked());
    News().Next();  // moved by code, as another command does
    QCOMPARE(form_->grid->currentIndex().row(), 2);
    QCOMPARE(form_->title->text(), QStringLiteral("Quillpad 2.0 released"));

    // Typed into the text box: the grid shows it once focus leaves; moving the grid posts it.
    const std::string before = site_->Bytes("news.db");
    form_->Focus(form_->title);
    form_->title->selectAll();
    TypeKeys(form_->title, "Quillpad 2.1");
    QCOMPARE(News().State(), TDataSetState::dsEdit);
    form_->Focus(form_->grid);
    QCOMPARE(form_->Cell(2, 1), QStringLiteral("Quillpad 2.1"));
    QCOMPARE(site_->Bytes("news.db"), before);
    QTest::keyClick(form_->grid, Qt::Key_Down);
    QCOMPARE(site_->Scalar("news.db", "SELECT count(*) FROM news WHERE \"News Title 1\"='Quillpad 2.1'"),
             std::string("1"));

    // Typed into the grid: the text box follows at once.
    QTest::keyClick(form_->grid, Qt::Key_Right);
    TypeKeys(form_->grid, "Ledger");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(form_->title->text(), QStringLiteral("Ledger"));
    Screenshot(&form_->window, QStringLiteral("news-tab"));
  }

  void theNavigatorFollowsTheStateAndInsertsPostsCancelsAndDeletes() {
    QVERIFY(ShowPostings());
    TDBNavigator* nav = form_->navigator;
    auto enabled = [nav] {
      QString s;
      for (TNavigateBtn b :
           {TNavigateBtn::nbInsert, TNavigateBtn::nbDelete, TNavigateBtn::nbPost, TNavigateBtn::nbCancel})
        s += nav->Button(b)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
      return s;
    };
    QCOMPARE(enabled(), QStringLiteral("1100"));
    QCOMPARE(nav->Hint(TNavigateBtn::nbPost), QStringLiteral("Save changes"));
    QCOMPARE(nav->Hint(TNavigateBtn::nbInsert), QStringLiteral("Insert record"));
    QVERIFY(!nav->Button(TNavigateBtn::nbFirst)->isVisibleTo(&form_->window));

    form_->Focus(form_->title);
    TypeKeys(form_->title, " (draft)");
    QCOMPARE(enabled(), QStringLiteral("1111"));
    form_->Click(TNavigateBtn::nbCancel);
    QCOMPARE(Posts().State(), TDataSetState::dsBrowse);
    QCOMPARE(form_->title->text(), QStringLiteral("Quillpad 2.0 released"));

    form_->Click(TNavigateBtn::nbInsert);
    QCOMPARE(Posts().State(), TDataSetState::dsInsert);
    QCOMPARE(form_->title->text(), QString());
    QCOMPARE(form_->grid->model()->rowCount(), 3);
    TypeKeys(form_->title, "Third");
    form_->Click(TNavigateBtn::nbPost);
    QCOMPARE(site_->Scalar("newspost.db", "SELECT Subject FROM newspost WHERE Subject='Third'"),
             std::string("Third"));
    QCOMPARE(enabled(), QStringLiteral("1100"));

    site_->answer = TModalResult::mrOk;
    form_->Click(TNavigateBtn::nbDelete);
    QCOMPARE(site_->questions, std::vector<std::string>{"Delete record?"});
    QCOMPARE(site_->Scalar("newspost.db", "SELECT count(*) FROM newspost"), std::string("2"));
    QCOMPARE(form_->grid->model()->rowCount(), 2);
    Screenshot(&form_->window, QStringLiteral("postings-tab"));
  }

  void aFailedPostKeepsEveryTypedTextAndARetryStoresIt() {
    QVERIFY(ShowPostings());
    Posts().SetBusyTimeout(50);
    form_->Focus(form_->title);
    TypeKeys(form_->title, "!");
    form_->Focus(form_->memo);
    form_->memo->moveCursor(QTextCursor::End);
    TypeKeys(form_->memo, "PS");
    TSqliteDb other;  // another program holds the file
    QCOMPARE(other.Open(site_->File("newspost.db"), SQLITE_OPEN_READWRITE), SQLITE_OK);
    QCOMPARE(other.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
    form_->Click(TNavigateBtn::nbPost);
    QCOMPARE(site_->errors.size(), size_t(1));
    QVERIFY2(site_->errors[0].find("locked") != std::string::npos, site_->errors[0].c_str());
    QCOMPARE(Posts().State(), TDataSetState::dsEdit);
    QVERIFY(form_->title->text().endsWith(QLatin1Char('!')));
    QVERIFY(form_->memo->toPlainText().endsWith(QStringLiteral("PS")));
    form_->Focus(form_->grid);
    QTest::keyClick(form_->grid, Qt::Key_Down);  // the move would post: it fails and stays
    QCOMPARE(site_->errors.size(), size_t(2));
    QCOMPARE(form_->grid->currentIndex().row(), 0);
    QVERIFY(form_->memo->toPlainText().endsWith(QStringLiteral("PS")));
    QCOMPARE(other.Exec("ROLLBACK"), SQLITE_OK);
    form_->Click(TNavigateBtn::nbPost);
    QCOMPARE(site_->errors.size(), size_t(2));
    QCOMPARE(site_->Scalar("newspost.db",
                           "SELECT Subject || '|' || substr(Body, -4) FROM newspost WHERE Subject LIKE '%!'"),
             std::string("Quillpad 2.0 released!|\r\nPS"));
  }

  void aNewNewsItemIsStoredAtOnceWithTodaysDateThenEdited() {
    QVERIFY(ShowNews());
    form_->Click(TNavigateBtn::nbInsert);
    QCOMPARE(site_->Scalar("news.db", "SELECT count(*) FROM news"), std::string("5"));
    QCOMPARE(
        site_->Scalar("news.db", "SELECT substr(\"Date\", 1, 10) FROM news WHERE \"News Title 1\" IS NULL"),
        Today());
    QCOMPARE(News().State(), TDataSetState::dsEdit);
    QCOMPARE(form_->grid->model()->rowCount(), 5);
    QCOMPARE(form_->title->text(), QString());
    QVERIFY(!form_->include->isChecked());  // an empty Include reads unchecked
    QCOMPARE(FromQ(form_->picker->date().toString(QStringLiteral("yyyy-MM-dd"))), Today());
    form_->Focus(form_->title);
    TypeKeys(form_->title, "Fresh");
    form_->Click(TNavigateBtn::nbCancel);  // cancels the typing; the record stays
    QCOMPARE(site_->Scalar("news.db", "SELECT count(*) FROM news"), std::string("5"));
    QCOMPARE(form_->title->text(), QString());

    form_->Focus(form_->grid);
    QTest::keyClick(form_->grid, Qt::Key_Insert);  // the grid's Insert keeps the same rule
    QCOMPARE(site_->Scalar("news.db", "SELECT count(*) FROM news"), std::string("6"));
    QCOMPARE(form_->grid->model()->rowCount(), 6);
    QCOMPARE(form_->Cell(form_->grid->currentIndex().row(), 0).isEmpty(), false);
  }

  void showingAndLeavingRecordsWithoutTypingWritesNothing() {
    QVERIFY(ShowNews());
    const std::string before = site_->Bytes("news.db");
    form_->Focus(form_->grid);
    // (Not past the last row: a new news item is stored at once.)
    for (int i = 0; i < 3; ++i) QTest::keyClick(form_->grid, Qt::Key_Down);
    QTest::keyClick(form_->grid, Qt::Key_Up);
    QTest::keyClick(form_->grid, Qt::Key_Right);
    QTest::keyClick(form_->grid, Qt::Key_F2);  // a cell opened and closed unchanged
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(form_->grid, Qt::Key_Up);
    form_->Focus(form_->title);
    QVERIFY(TDBFieldBinding::Of(form_->title)->Edit());  // the edit state without typing
    form_->Focus(form_->grid);
    QTest::keyClick(form_->grid, Qt::Key_Up);
    QTest::keyClick(form_->grid, Qt::Key_Escape);
    QCOMPARE(News().State(), TDataSetState::dsBrowse);
    QCOMPARE(site_->Bytes("news.db"), before);
    QVERIFY(site_->errors.empty());
  }

  void badStoredValuesAreShownAndKeptUnlessEdited() {
    site_->Sql("news.db",
               "UPDATE news SET \"Date\" = 'soon', Include = 'yes' WHERE \"News Title 2\" LIKE 'Quill%'");
    News().Refresh();
    QVERIFY(ShowNews());
    // An unreadable date sorts first in newest-first order.
    QCOMPARE(form_->Cell(0, 0), QStringLiteral("soon"));
    QCOMPARE(form_->title->text(), QStringLiteral("Quillpad 2.0 released"));
    QVERIFY(form_->include->isChecked());
    QCOMPARE(form_->hiddenDate->text(), QStringLiteral("soon"));
    QCOMPARE(FromQ(form_->picker->date().toString(QStringLiteral("yyyy-MM-dd"))), Today());
    form_->Focus(form_->title);
    TypeKeys(form_->title, "!");
    form_->Click(TNavigateBtn::nbPost);
    QVERIFY(site_->errors.empty());
    QCOMPARE(site_->Scalar(
                 "news.db",
                 "SELECT \"Date\" || '|' || typeof(Include) || '|' || Include || '|' || \"News Title 1\" "
                 "FROM news WHERE \"News Title 2\" LIKE 'Quill%'"),
             std::string("soon|text|yes|Quillpad 2.0 released!"));
  }

  void theDatePickerShowsTheShortDateAndTellsOnlyThePersonsChanges() {
    TFormatSettings& fs = FormatSettings();
    const TFormatSettings saved = fs;
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.DateSeparator = '.';
    QVERIFY(ShowNews());
    TDateTimePicker* picker = form_->picker;
    picker->ApplyFormat();
    QVERIFY(picker->calendarPopup());
    QCOMPARE(picker->text(), QStringLiteral("20.03.2026"));  // the draft, shown by the record
    int changes = 0;
    connect(picker, &TDateTimePicker::Change, this, [&] { ++changes; });
    picker->SetDateTime(EncodeDate(2026, 3, 10) + EncodeTime(9, 30, 0, 0));
    QCOMPARE(changes, 0);
    QCOMPARE(picker->DateTime(), EncodeDate(2026, 3, 10) + EncodeTime(9, 30, 0, 0));
    form_->Focus(picker);
    picker->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(picker, Qt::Key_Up);  // the person picks the 11th: stored at once
    QCOMPARE(changes, 1);
    QCOMPARE(News().State(), TDataSetState::dsBrowse);
    QCOMPARE(site_->Scalar("news.db", "SELECT count(*) FROM news WHERE \"Date\" = '2026-03-11 00:00:00'"),
             std::string("1"));
    picker->calendarWidget()->parentWidget()->show();
    Screenshot(picker->calendarWidget()->window(), QStringLiteral("date-picker-calendar"));
    fs = saved;
  }

  // In every locale, whether or not its short date reads back as a date ("10 Mar 2026",
  // "2026. 03. 10."), the picker shows the stored date; moving there writes nothing, and one
  // step up stores the day after it.
  void theDatePickerShowsTheStoredDateInEveryLocale_data() {
    QTest::addColumn<QString>("locale");
    for (const char* name : {"C", "en_US", "de_DE", "hu_HU", "ja_JP"}) QTest::newRow(name) << name;
  }
  void theDatePickerShowsTheStoredDateInEveryLocale() {
    QFETCH(QString, locale);
    TFormatSettings& fs = FormatSettings();
    const TFormatSettings saved = fs;
    fs = FormatSettingsFromLocale(QLocale(locale));
    QVERIFY(ShowNews());
    TDateTimePicker* picker = form_->picker;
    picker->ApplyFormat();
    const std::string offer = "SELECT \"Date\" FROM news WHERE \"News Title 1\" LIKE 'Spring%'";
    News().Next();  // "Spring offer", 10 March 2026 09:30
    QCOMPARE(picker->date(), QDate(2026, 3, 10));
    QCOMPARE(picker->DateTime(), EncodeDate(2026, 3, 10) + EncodeTime(9, 30, 0, 0));
    QCOMPARE(site_->Scalar("news.db", offer), std::string("2026-03-10 09:30:00"));
    form_->Focus(picker);
    picker->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(picker, Qt::Key_Up);
    QCOMPARE(site_->Scalar("news.db", offer), std::string("2026-03-11 00:00:00"));
    fs = saved;
  }

  void aCheckBoxWritesItsFieldAtOnceWithoutPosting() {
    QVERIFY(ShowNews());
    const std::string before = site_->Bytes("news.db");
    int clicks = 0;
    connect(form_->include, &TDBCheckBox::Click, this, [&] { ++clicks; });
    QTest::mouseClick(form_->include, Qt::LeftButton, {}, QPoint(6, form_->include->height() / 2));
    QCOMPARE(clicks, 1);
    QCOMPARE(News().State(), TDataSetState::dsEdit);
    QVERIFY(News().FieldByName("Include").AsBoolean());
    QCOMPARE(site_->Bytes("news.db"), before);
    form_->Click(TNavigateBtn::nbPost);
    QCOMPARE(site_->Scalar("news.db", "SELECT Include FROM news WHERE \"News Title 1\" LIKE 'Draft%'"),
             std::string("1"));
  }

  void theFirstKeyIntoAnEmptyTableInsertsAndKeepsWhatWasTyped() {
    Posts().EmptyTable();
    QVERIFY(ShowPostings());
    QCOMPARE(form_->grid->model()->rowCount(), 0);
    form_->Focus(form_->memo);
    TypeKeys(form_->memo, "Hello");
    QTest::keyClick(form_->memo, Qt::Key_Return);
    TypeKeys(form_->memo, "World");
    QCOMPARE(Posts().State(), TDataSetState::dsInsert);
    QCOMPARE(form_->memo->toPlainText(), QStringLiteral("Hello\nWorld"));
    QCOMPARE(form_->grid->model()->rowCount(), 1);
    // The shared popup menu enters the edit state through the binding; the selection stays.
    QTextCursor cursor = form_->memo->textCursor();
    cursor.setPosition(2);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    form_->memo->setTextCursor(cursor);
    QVERIFY(TDBFieldBinding::Of(form_->memo)->Edit());
    QCOMPARE(form_->memo->textCursor().selectedText(), QStringLiteral("ll"));
    form_->Click(TNavigateBtn::nbPost);
    QCOMPARE(site_->Scalar("newspost.db", "SELECT Body FROM newspost"), std::string("Hello\r\nWorld"));
  }
  // A rich editor on a product's description: showing records writes nothing; bold typed text
  // is stored as RTF and shown bold again after the table was closed and opened.
  void aRichEditorStoresItsFormattingAndShowsItAgain() {
    TTable& products = site_->Data().tblProducts;
    form_ = std::make_unique<TTabForm>(site_->Data().dsProducts, "Name", "Include");
    auto* rich = new TDBRichEdit(&form_->window);
    form_->window.layout()->addWidget(rich);
    rich->SetDataSource(&site_->Data().dsProducts);
    rich->SetDataField("Description 1");
    QVERIFY(form_->Show());
    const std::string before = site_->Bytes("product.DB");
    const std::string firstName = products.FieldByName("Name").AsString();
    const std::string stored = products.FieldByName("Description 1").AsString();
    QVERIFY(!rich->ReadOnly());
    QVERIFY(!rich->toPlainText().isEmpty());
    QVERIFY(!rich->toPlainText().startsWith(QLatin1Char('{')));  // RTF shown as text, not code
    products.Next();
    products.Prior();
    QCOMPARE(products.State(), TDataSetState::dsBrowse);
    QCOMPARE(site_->Bytes("product.DB"), before);

    form_->Focus(rich);
    rich->moveCursor(QTextCursor::End);
    QTest::keyClick(rich, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(products.State(), TDataSetState::dsEdit);  // the first command entered the edit state
    TypeKeys(rich, " Strong");
    form_->Click(TNavigateBtn::nbPost);
    QVERIFY(site_->errors.empty());
    const std::string written =
        site_->Scalar("product.DB", "SELECT \"Description 1\" FROM product WHERE Name = '" + firstName + "'");
    QVERIFY2(written != stored && written.find("\\b") != std::string::npos, written.c_str());

    products.Close();
    products.Open();
    QCOMPARE(products.FieldByName("Name").AsString(), firstName);
    QVERIFY(rich->toPlainText().endsWith(QStringLiteral(" Strong")));
    QTextCursor end = rich->textCursor();
    end.movePosition(QTextCursor::End);
    end.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 3);
    rich->setTextCursor(end);
    QVERIFY(rich->SelectionBold());
    rich->SetReadOnly(true);
    TypeKeys(rich, "x");
    QCOMPARE(products.State(), TDataSetState::dsBrowse);
    Screenshot(&form_->window, QStringLiteral("product-rich-editor"));
  }
};

QTEST_MAIN(DBControlsTest)
#include "dbcontrols_test.moc"
