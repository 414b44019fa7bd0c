// TDBGrid offscreen over the tables of a sample site, driven with the keys and clicks people
// use in such grids; each test looks at the record, the table's state and the file.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "core/data/datamod.h"
#include "gui/widgets/dbedit.h"
#include "gui/widgets/dbgrid.h"
#include "support/dbsite.h"
#include "support/modalhelper.h"

using namespace pagolin;
using pagolin::test::TDBTestSite;
using pagolin::test::TypeKeys;

namespace {

// A window like a content tab: a grid over one table and a text box below it.
struct TGridForm {
  QWidget window;
  TDBGrid* grid = nullptr;
  TDBEdit* edit = nullptr;

  TGridForm(TDataSource& source, const std::string& editField) {
    window.setObjectName(QStringLiteral("Form1"));
    auto* layout = new QVBoxLayout(&window);
    grid = new TDBGrid(&window);
    grid->setObjectName(QStringLiteral("DBGrid"));
    edit = new TDBEdit(&window);
    edit->setObjectName(QStringLiteral("DBEdit"));
    layout->addWidget(grid);
    layout->addWidget(edit);
    grid->SetDataSource(&source);
    edit->SetDataSource(&source);
    edit->SetDataField(editField);
    window.resize(760, 320);
  }
  bool Show() {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    grid->setFocus();
    return QTest::qWaitFor([this] { return grid->hasFocus(); });
  }
  QString Cell(int row, int column) const { return grid->model()->index(row, column).data().toString(); }
  // The open cell editor (a closed one may linger until it is deleted, hidden).
  QWidget* Editor() const {
    for (QWidget* w : grid->findChildren<QWidget*>(QStringLiteral("InplaceEdit")))
      if (w->isVisible()) return w;
    return nullptr;
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : grid, key, mods);
  }
};

void AddProductColumns(TDBGrid* grid) {
  grid->AddColumn("Name", QStringLiteral("Product Name"), 163);
  grid->AddColumn("Category", QStringLiteral("Product Category"), 160)
      .SetPickList(
          {QStringLiteral("Application"), QStringLiteral("Component"), QStringLiteral("Component Package")});
  grid->AddColumn("Download Area Filename", {}, 130).SetButtonStyle(TColumnButtonStyle::cbsEllipsis);
  grid->AddColumn("Screenshot", {}, 130).SetButtonStyle(TColumnButtonStyle::cbsEllipsis);
  grid->AddColumn("", {}, 1200);
}

}  // namespace

class DBGridTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TDBTestSite> site_;
  std::unique_ptr<TGridForm> form_;

  TTable& Products() { return site_->Data().tblProducts; }
  // The products tab's grid: rows by category (all "Application"), then as added.
  bool ShowProducts() {
    form_ = std::make_unique<TGridForm>(site_->Data().dsProducts, "Name");
    AddProductColumns(form_->grid);
    return form_->Show();
  }
  std::string ProductCount() { return site_->Scalar("product.DB", "SELECT count(*) FROM product"); }

 private slots:
  void init() { site_ = std::make_unique<TDBTestSite>(); }
  void cleanup() {
    form_.reset();
    site_.reset();
  }

  void typingEditsTheRecordEnterEndsTheCellMovingToAnotherRowPosts() {
    QVERIFY(ShowProducts());
    const std::string before = site_->Bytes("product.DB");
    QCOMPARE(form_->Cell(0, 0), QStringLiteral("Quillpad"));
    TypeKeys(form_->grid, "Inkpad");
    QCOMPARE(Products().State(), TDataSetState::dsEdit);
    QVERIFY(form_->Editor());
    form_->Key(Qt::Key_Return);
    QVERIFY(!form_->Editor());
    QCOMPARE(Products().State(), TDataSetState::dsEdit);
    QCOMPARE(Products().FieldByName("Name").AsString(), std::string("Inkpad"));
    QCOMPARE(form_->edit->text(), QStringLiteral("Inkpad"));  // the text box follows the cell
    QCOMPARE(site_->Bytes("product.DB"), before);             // not stored before the move
    form_->Key(Qt::Key_Down);
    QCOMPARE(Products().State(), TDataSetState::dsBrowse);
    QCOMPARE(Products().RecNo(), 2);
    QCOMPARE(site_->Scalar("product.DB", "SELECT Name FROM product WHERE rowid = 1"), std::string("Inkpad"));
    QCOMPARE(form_->edit->text(), QStringLiteral("Ledgerlite"));
    pagolin::test::Screenshot(&form_->window, QStringLiteral("grid-products"));
  }

  void escapeDropsTheCellsTypingThenTheRecordsEdits() {
    QVERIFY(ShowProducts());
    const std::string before = site_->Bytes("product.DB");
    TypeKeys(form_->grid, "First");
    form_->Key(Qt::Key_Return);
    form_->Key(Qt::Key_Right);
    TypeKeys(form_->grid, "Second");
    form_->Key(Qt::Key_Escape);  // the cell's typing only
    QVERIFY(!form_->Editor());
    QCOMPARE(form_->Cell(0, 1), QStringLiteral("Application"));
    QCOMPARE(form_->Cell(0, 0), QStringLiteral("First"));
    QCOMPARE(Products().State(), TDataSetState::dsEdit);
    form_->Key(Qt::Key_Escape);  // the record's edits
    QCOMPARE(Products().State(), TDataSetState::dsBrowse);
    QCOMPARE(form_->Cell(0, 0), QStringLiteral("Quillpad"));
    QCOMPARE(form_->edit->text(), QStringLiteral("Quillpad"));
    form_->Key(Qt::Key_Down);
    QCOMPARE(site_->Bytes("product.DB"), before);
  }

  void insertKeyInsertsAtTheCurrentRowAndThePostedRecordTakesItsPlace() {
    QVERIFY(ShowProducts());
    form_->Key(Qt::Key_Down);
    form_->Key(Qt::Key_Down);  // Safehaven Backup
    form_->Key(Qt::Key_Insert);
    QCOMPARE(Products().State(), TDataSetState::dsInsert);
    QCOMPARE(form_->grid->model()->rowCount(), 5);
    QCOMPARE(form_->grid->currentIndex().row(), 2);
    QCOMPARE(form_->Cell(2, 0), QString());
    QCOMPARE(form_->Cell(3, 0), QStringLiteral("Safehaven Backup"));
    TypeKeys(form_->grid, "Abacus");
    form_->Key(Qt::Key_Tab);
    TypeKeys(form_->grid, "Accessory");
    form_->Key(Qt::Key_Up);  // leaving the row stores it
    QCOMPARE(ProductCount(), std::string("5"));
    QCOMPARE(Products().State(), TDataSetState::dsBrowse);
    // Sorted by category it is the first row; the row above the one it was typed in is current.
    QCOMPARE(form_->Cell(0, 0), QStringLiteral("Abacus"));
    QCOMPARE(form_->grid->currentIndex().row(), 2);
    QCOMPARE(form_->edit->text(), QStringLiteral("Ledgerlite"));
  }

  void ctrlDeleteDeletesAfterTheConfirmation_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("count");
    QTest::newRow("OK") << static_cast<int>(TModalResult::mrOk) << QStringLiteral("3");
    QTest::newRow("Cancel") << static_cast<int>(TModalResult::mrCancel) << QStringLiteral("4");
  }
  void ctrlDeleteDeletesAfterTheConfirmation() {
    QFETCH(int, answer);
    QFETCH(QString, count);
    QVERIFY(ShowProducts());
    form_->Key(Qt::Key_Down);
    site_->answer = static_cast<TModalResult>(answer);
    form_->Key(Qt::Key_Delete);  // without Ctrl: nothing
    QVERIFY(site_->questions.empty());
    form_->Key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(site_->questions, std::vector<std::string>{"Delete record?"});
    QCOMPARE(ProductCount(), FromQ(count));
    QCOMPARE(form_->grid->model()->rowCount(), count.toInt());
    QCOMPARE(form_->edit->text(), form_->Cell(form_->grid->currentIndex().row(), 0));
  }

  void downOnTheLastRowAppendsAndLeavingDropsTheUntouchedRow() {
    QVERIFY(ShowProducts());
    form_->Key(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(form_->grid->currentIndex(), form_->grid->model()->index(3, 0));  // the same column
    QCOMPARE(Products().RecNo(), 4);
    form_->Key(Qt::Key_Down);
    QCOMPARE(Products().State(), TDataSetState::dsInsert);
    QCOMPARE(form_->grid->model()->rowCount(), 5);
    QCOMPARE(form_->grid->currentIndex().row(), 4);
    form_->Key(Qt::Key_Down);  // an untouched new row stays, and no second one comes
    QCOMPARE(form_->grid->model()->rowCount(), 5);
    form_->Key(Qt::Key_Up);
    QCOMPARE(Products().State(), TDataSetState::dsBrowse);
    QCOMPARE(form_->grid->model()->rowCount(), 4);
    QCOMPARE(form_->grid->currentIndex().row(), 3);
    form_->Key(Qt::Key_Down);
    form_->edit->setFocus();  // cancel on leaving the grid
    QVERIFY(QTest::qWaitFor([this] { return Products().State() == TDataSetState::dsBrowse; }));
    QCOMPARE(form_->grid->model()->rowCount(), 4);
    form_->grid->setFocus();
    QVERIFY(QTest::qWaitFor([this] { return form_->grid->hasFocus(); }));
    form_->Key(Qt::Key_Down);
    TypeKeys(form_->grid, "Zeta");
    form_->Key(Qt::Key_Down);  // stored
    QCOMPARE(ProductCount(), std::string("5"));
    QCOMPARE(Products().State(), TDataSetState::dsInsert);
    QCOMPARE(form_->grid->model()->rowCount(), 6);
    QCOMPARE(site_->Scalar("product.DB", "SELECT count(*) FROM product WHERE Name IS NULL"),
             std::string("0"));
  }

  void logicalsShowACheckMarkAndDatesTheirShortForm() {
    TFormatSettings& fs = FormatSettings();
    const TFormatSettings saved = fs;
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.DateSeparator = '.';
    fs.ShortTimeFormat = "hh:nn";
    form_ = std::make_unique<TGridForm>(site_->Data().dsNews, "News Title 1");
    form_->grid->AddColumn("Date", {}, 110).SetReadOnly(true);
    form_->grid->AddColumn("Include", {}, 60);
    form_->grid->AddColumn("News Title 1", QStringLiteral("News Title English"), 230);
    site_->Sql("news.db",
               "UPDATE news SET \"Date\" = '2026-02-20 00:00:00' WHERE \"News Title 2\" LIKE 'Quill%'");
    site_->Data().tblNews.Refresh();
    QVERIFY(form_->Show());
    // Newest first: the draft of 20 March (not included), the offer of 10 March, Quillpad.
    const QAbstractItemModel* m = form_->grid->model();
    QCOMPARE(form_->Cell(0, 0), QStringLiteral("20.03.2026 08:00"));
    QCOMPARE(form_->Cell(2, 0), QStringLiteral("20.02.2026"));  // midnight: the date alone
    QCOMPARE(m->index(0, 1).data(Qt::CheckStateRole).toInt(), static_cast<int>(Qt::Unchecked));
    QCOMPARE(m->index(1, 1).data(Qt::CheckStateRole).toInt(), static_cast<int>(Qt::Checked));
    QCOMPARE(form_->Cell(1, 1), QString());  // a check mark, no text
    QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("News Title English"));
    QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));  // the read-only date column
    // Space on a logical cell toggles it in the record.
    form_->Key(Qt::Key_Right);
    form_->Key(Qt::Key_Space);
    QCOMPARE(site_->Data().tblNews.State(), TDataSetState::dsEdit);
    QVERIFY(site_->Data().tblNews.FieldByName("Include").AsBoolean());
    pagolin::test::Screenshot(&form_->window, QStringLiteral("grid-news"));
    fs = saved;
  }

  void pickListOffersItsChoicesAndTheEllipsisButtonReportsItsField() {
    QVERIFY(ShowProducts());
    form_->Key(Qt::Key_Right);
    form_->Key(Qt::Key_F2);
    auto* combo = qobject_cast<QComboBox*>(form_->Editor());
    QVERIFY(combo);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), QStringLiteral("Application"));
    pagolin::test::Screenshot(&form_->window, QStringLiteral("grid-picklist"));
    combo->setCurrentIndex(1);
    form_->Key(Qt::Key_Return);
    QCOMPARE(Products().FieldByName("Category").AsString(), std::string("Component"));
    form_->Key(Qt::Key_Escape);
    form_->Key(Qt::Key_Escape);
    QCOMPARE(Products().State(), TDataSetState::dsBrowse);

    // The handler of the products tab: set the cell's field to the chosen file and post.
    QStringList clicked;
    connect(form_->grid, &TDBGrid::EditButtonClick, this, [&] {
      TField* field = form_->grid->SelectedField();
      clicked << ToQ(field ? field->FieldName() : "<none>");
      if (Products().State() == TDataSetState::dsBrowse) Products().Edit();
      field->SetAsString("chosen.zip");
      Products().Post();
    });
    form_->Key(Qt::Key_Right);
    pagolin::test::Screenshot(&form_->window, QStringLiteral("grid-ellipsis"));
    form_->Key(Qt::Key_F4);          // on the cell
    TypeKeys(form_->grid, "typed");  // and from the open cell's button
    QVERIFY(form_->Editor());
    auto* button = form_->Editor()->findChild<QAction*>(QStringLiteral("EditButton"));
    QVERIFY(button);
    button->trigger();
    QCOMPARE(clicked, QStringList(2, QStringLiteral("Download Area Filename")));
    QCOMPARE(qobject_cast<QLineEdit*>(form_->Editor())->text(), QStringLiteral("chosen.zip"));
    QCOMPARE(
        site_->Scalar("product.DB", "SELECT \"Download Area Filename\" FROM product WHERE Name='Quillpad'"),
        std::string("chosen.zip"));
  }

  void aReadOnlyGridWithWholeRowSelectionOnlyMoves() {
    form_ = std::make_unique<TGridForm>(site_->Data().dsNewsPost, "Subject");
    TDBGrid* grid = form_->grid;
    grid->AddColumn("Send", {}, 48);
    grid->AddColumn("Subject", {}, 207);
    grid->SetOptions(TDBGridOption::dgTitles | TDBGridOption::dgColLines | TDBGridOption::dgRowLines |
                     TDBGridOption::dgRowSelect | TDBGridOption::dgConfirmDelete);
    grid->SetReadOnly(true);
    QVERIFY(form_->Show());
    const std::string before = site_->Bytes("newspost.db");
    TypeKeys(grid, "x");
    form_->Key(Qt::Key_Space);
    form_->Key(Qt::Key_Insert);
    form_->Key(Qt::Key_Delete, Qt::ControlModifier);
    form_->Key(Qt::Key_Down);
    form_->Key(Qt::Key_Down);  // the last row: no new record
    QCOMPARE(site_->Data().tblNewsPost.State(), TDataSetState::dsBrowse);
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(site_->Data().tblNewsPost.RecNo(), 2);
    QVERIFY(grid->selectionModel()->isRowSelected(1, {}));
    QVERIFY(site_->questions.empty());
    QCOMPARE(site_->Bytes("newspost.db"), before);
  }
};

QTEST_MAIN(DBGridTest)
#include "dbgrid_test.moc"
