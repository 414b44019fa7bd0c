// Quitting the program stores what the person typed: the pending edits of every table are
// posted as a move to another record would post them, and a change that cannot be stored is
// kept or dropped as the person answers.
#include <QtTest>

#include <memory>

#include "core/data/datamod.h"
#include "gui/app/contenttabs.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/widgets/dbrichedit.h"
#include "support/dbsite.h"

using namespace pagolin;
using test::TypeKeys;

class QuitTest : public QObject {
  Q_OBJECT

  std::unique_ptr<test::TDBTestSite> site_;  // made with the sample; records the messages
  std::unique_ptr<TProgram> program_;

  TForm1& Form() { return program_->Form1(); }
  TTable& Products() { return program_->DataModule2().tblProducts; }
  std::string StoredDescription() {
    return site_->Scalar("product.DB", "SELECT \"Description 1\" FROM product WHERE rowid = " +
                                           std::to_string(Products().RecordId()));
  }
  // Opens the window on the site and types into the first product's description; the focus
  // stays in the editor, as when the person quits right after typing.
  void TypeIntoADescription() {
    site_ = std::make_unique<test::TDBTestSite>();
    program_ = std::make_unique<TProgram>(site_->File(""));
    Form().show();
    QVERIFY(QTest::qWaitForWindowActive(&Form()));
    TDBRichEdit* editor = Form().tbsProducts->dbrDescription;
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    TypeKeys(editor, " Typed");
    QCOMPARE(Products().State(), TDataSetState::dsEdit);
    QVERIFY(StoredDescription().find("Typed") == std::string::npos);
  }

 private slots:
  void cleanup() {
    program_.reset();
    site_.reset();
  }

  void quittingStoresThePendingEditsOfEveryTable_data() {
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Ctrl+Q") << true;
    QTest::newRow("close box") << false;
  }
  void quittingStoresThePendingEditsOfEveryTable() {
    QFETCH(bool, byKey);
    TypeIntoADescription();
    TTable& links = program_->DataModule2().tblLinks;
    const int linkCount = links.RecordCount();
    links.Append();  // a new link nobody wrote into
    if (byKey)
      QTest::keyClick(&Form(), Qt::Key_Q, Qt::ControlModifier);
    else
      Form().close();
    QVERIFY(!Form().isVisible());
    QVERIFY2(StoredDescription().find(" Typed") != std::string::npos, StoredDescription().c_str());
    QCOMPARE(links.State(), TDataSetState::dsBrowse);
    QCOMPARE(site_->Scalar("links.db", "SELECT COUNT(*) FROM links"), std::to_string(linkCount));
    QVERIFY(site_->questions.empty());
  }

  void aChangeThatCannotBeStoredIsKeptOrDroppedAsThePersonAnswers() {
    TypeIntoADescription();
    TSqliteDb other;  // another program holds the products file
    QCOMPARE(other.Open(site_->File("product.DB"), SQLITE_OPEN_READWRITE), SQLITE_OK);
    QCOMPARE(other.Exec("BEGIN EXCLUSIVE"), SQLITE_OK);
    Products().SetBusyTimeout(50);

    site_->answer = TModalResult::mrCancel;
    Form().close();
    QVERIFY(Form().isVisible());
    QCOMPARE(site_->questions.size(), size_t(1));
    const std::string& question = site_->questions[0];
    QVERIFY2(question.find("product.DB") != std::string::npos, question.c_str());
    QVERIFY2(question.ends_with("Quit without this change?"), question.c_str());
    QCOMPARE(Products().State(), TDataSetState::dsEdit);
    QVERIFY(Form().tbsProducts->dbrDescription->toPlainText().endsWith(QStringLiteral(" Typed")));

    site_->answer = TModalResult::mrOk;
    Form().close();
    QVERIFY(!Form().isVisible());
    QCOMPARE(site_->questions.size(), size_t(2));
    QCOMPARE(Products().State(), TDataSetState::dsBrowse);
    QCOMPARE(other.Exec("ROLLBACK"), SQLITE_OK);
    QVERIFY(StoredDescription().find("Typed") == std::string::npos);
  }
};

QTEST_MAIN(QuitTest)
#include "quit_test.moc"
