// "New database..." on a sample site, as a person uses it: ticks, the confirmation, the tables.
#include <QtTest>

#include <QCheckBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include "core/data/datamod.h"
#include "core/platform/hooks.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgnewdatabase.h"
#include "support/modalhelper.h"

using namespace pagolin;

class NewDatabaseTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::unique_ptr<TProgram> program_;
  TModalResult answer_ = TModalResult::mrCancel;
  std::vector<std::string> questions_;

  // Opens the dialog from the menu and runs fn on it while it is up.
  void WithDialog(const std::function<void(TdlgNewDatabase&)>& fn) {
    test::WhenModalNamed(QStringLiteral("dlgNewDatabase"),
                         [&](QWidget* w) { fn(*static_cast<TdlgNewDatabase*>(w)); });
    program_->Form1().Cleardatabases1->trigger();
  }
  std::vector<int> Counts() {
    TDataModule2& d = program_->DataModule2();
    return {d.tblProducts.RecordCount(), d.tblNews.RecordCount(), d.tblLinks.RecordCount(),
            d.tblNewsPost.RecordCount(), d.tblCodes.RecordCount()};
  }

 private slots:
  void initTestCase() {
    QProcess tool;
    tool.start(QStringLiteral(PAGOLIN_NEWSITE), {dir_.path(), QStringLiteral("--sample")});
    QVERIFY(tool.waitForFinished(30000) && tool.exitCode() == 0);
    TMessageHooks hooks;
    hooks.messageDlg = [this](const std::string& text, TMsgDlgType, TMsgDlgButtons) {
      questions_.push_back(text);
      return answer_;
    };
    SetMessageHooks(hooks);
    program_ = std::make_unique<TProgram>(FromQ(dir_.path()));
    program_->Form1().show();
    QVERIFY(QTest::qWaitForWindowExposed(&program_->Form1()));
  }
  void cleanupTestCase() { program_.reset(); }

  void clearTablesIsEnabledOnlyWhileABoxIsTickedAndEnterCancels() {
    const std::vector<int> before = Counts();
    WithDialog([&](TdlgNewDatabase& d) {
      QCOMPARE(d.windowTitle(), QStringLiteral("Create new database"));
      test::Screenshot(&d, QStringLiteral("newdatabase"));
      QVERIFY(!d.Button2->isEnabled());
      QTest::mouseClick(d.CheckBox3, Qt::LeftButton, {}, QPoint(5, d.CheckBox3->height() / 2));
      QVERIFY(d.Button2->isEnabled());
      QTest::mouseClick(d.CheckBox3, Qt::LeftButton, {}, QPoint(5, d.CheckBox3->height() / 2));
      QVERIFY(!d.Button2->isEnabled());
      QTest::keyClick(&d, Qt::Key_Return);
      QVERIFY(!d.isVisible());
    });
    QCOMPARE(Counts(), before);
    QVERIFY(questions_.empty());
  }

  // Cancel in the confirmation keeps everything; OK empties the ticked tables, never the codes.
  // Every showing starts with no box ticked.
  void theTickedTablesAreEmptiedAfterTheConfirmation() {
    const std::vector<int> before = Counts();
    for (int c : before) QVERIFY(c > 0);
    auto tickAllAndClear = [&](TdlgNewDatabase& d) {
      for (QCheckBox* b : {d.CheckBox1, d.CheckBox2, d.CheckBox3, d.CheckBox4}) {
        QVERIFY(!b->isChecked());
        b->click();
      }
      d.Button2->click();
      QVERIFY(!d.isVisible());
    };
    answer_ = TModalResult::mrCancel;
    WithDialog(tickAllAndClear);
    QCOMPARE(Counts(), before);
    QCOMPARE(questions_.back(),
             std::string(
                 "Please confirm the deletion of the selected tables or click on Cancel to keep the data."));
    answer_ = TModalResult::mrOk;
    WithDialog(tickAllAndClear);
    QCOMPARE(Counts(), (std::vector<int>{0, 0, 0, 0, before[4]}));
  }
};

QTEST_MAIN(NewDatabaseTest)
#include "newdatabase_test.moc"
