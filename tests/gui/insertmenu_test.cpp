// The main window's insertion items of the rich editors' popup menu, on a sample site.
#include <QtTest>

#include <QColorDialog>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

#include "core/data/datamod.h"
#include "gui/app/insertmenu.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/nvrichpop.h"
#include "gui/components/qtext.h"
#include "gui/widgets/richedit.h"
#include "support/modalhelper.h"

using namespace pagolin;

class InsertMenuTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::unique_ptr<TProgram> program_;
  TRichEdit* code_ = nullptr;   // stands for the HTML code editor
  TRichEdit* other_ = nullptr;  // any other editor of the window

  TInsertMenu& Menu() { return *program_->Form1().InsertMenu; }
  TNVRichPop& Pop() { return *program_->Form1().NVRichPop1; }
  void PopupOn(TRichEdit* editor) {
    Pop().Popup(editor->mapToGlobal(QPoint(5, 5)), editor);
    Pop().hide();
  }
  QStringList Visible(QMenu* menu) {
    QStringList names;
    for (QAction* a : menu->actions())
      if (a->isVisible()) names << a->objectName();
    return names;
  }

 private slots:
  void initTestCase() {
    QProcess tool;
    tool.start(QStringLiteral(PAGOLIN_NEWSITE), {dir_.path(), QStringLiteral("--sample")});
    QVERIFY(tool.waitForFinished(30000) && tool.exitCode() == 0);
    program_ = std::make_unique<TProgram>(FromQ(dir_.path()));
    TForm1& form = program_->Form1();
    code_ = new TRichEdit(&form);
    code_->setObjectName(QStringLiteral("DBRichEdit7"));
    code_->SetPlainText(true);
    other_ = new TRichEdit(&form);
    for (TRichEdit* e : {code_, other_}) Pop().Attach(e);
    Menu().SetCodeEditor(code_);
    form.show();  // fills the variables
    QVERIFY(QTest::qWaitForWindowExposed(&form));
  }
  void cleanupTestCase() { program_.reset(); }

  void theWindowsItemsStandAfterTheLinkItemsAndTheVariablesAreListedInNameOrder() {
    const QList<QAction*> items = Pop().actions();
    QCOMPARE(items[0]->objectName(), QStringLiteral("miInsertLink"));
    QCOMPARE(items[2]->objectName(), QStringLiteral("miSeparatorLink"));
    QCOMPARE(items[3]->objectName(), QStringLiteral("Insertcolorcode1"));
    QCOMPARE(items[4]->menu(), Menu().ScriptVariables1);
    QCOMPARE(items[5]->menu(), Menu().Globalscriptvariables1);
    QCOMPARE(items[6]->objectName(), QStringLiteral("N4"));
    QCOMPARE(items[7]->objectName(), QStringLiteral("miUndo"));
    QStringList hints;
    for (QAction* a : Menu().Globalscriptvariables1->actions()) {
      QVERIFY2(a->text().startsWith(a->statusTip() + QStringLiteral(" (")), qPrintable(a->text()));
      hints << a->statusTip();
    }
    QCOMPARE(hints, (QStringList{QStringLiteral("%COMPANY%"), QStringLiteral("%COPYRIGHT%"),
                                 QStringLiteral("%EMAIL%"), QStringLiteral("%SLOGAN%"),
                                 QStringLiteral("%WEBSITE%")}));
    QCOMPARE(program_->DataModule2().tblCodes.RecNo(), 1);
  }

  // The placeholders of the row template the code editor shows; elsewhere none.
  void placeholdersFollowTheCodeBeingEdited() {
    TTable& codes = program_->DataModule2().tblCodes;
    QVERIFY(codes.Locate("Name", "Product"));
    PopupOn(code_);
    QVERIFY(Menu().ScriptVariables1->isEnabled());
    QCOMPARE(Visible(Menu().ScriptVariables1),
             (QStringList{QStringLiteral("Productname1"), QStringLiteral("Productcategory1"),
                          QStringLiteral("ProductDescription1"), QStringLiteral("Downloadfile1"),
                          QStringLiteral("Downloadfiledate1"), QStringLiteral("Downloadfilesize1"),
                          QStringLiteral("Screenshot1")}));
    QVERIFY(codes.Locate("Name", "Link"));
    PopupOn(code_);
    QCOMPARE(Visible(Menu().ScriptVariables1),
             (QStringList{QStringLiteral("Screenshot1"), QStringLiteral("Linkname1"),
                          QStringLiteral("LinkURL1"), QStringLiteral("Linkdescription1")}));
    QVERIFY(codes.Locate("Name", "Head"));
    PopupOn(code_);
    QVERIFY(!Menu().ScriptVariables1->isEnabled());
    QVERIFY(codes.Locate("Name", "News"));
    PopupOn(other_);
    QVERIFY(!Menu().ScriptVariables1->isEnabled());
    QVERIFY(Menu().Globalscriptvariables1->isEnabled() && Menu().Insertcolorcode1->isEnabled());
  }

  // A variable goes where the menu was opened, in place of the selection; a placeholder and a
  // colour always into the code editor; a cancelled colour dialog inserts nothing.
  void insertionsGoWhereTheyBelong() {
    other_->LoadText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\plain\\f0\\fs20 Hello world\\par }");
    QTextCursor c = other_->textCursor();
    c.setPosition(6);
    c.setPosition(11, QTextCursor::KeepAnchor);
    other_->setTextCursor(c);
    PopupOn(other_);
    Menu().Globalscriptvariables1->actions().first()->trigger();
    QCOMPARE(other_->toPlainText(), QStringLiteral("Hello %COMPANY%"));

    code_->LoadText("<P></P>");
    QTextCursor at = code_->textCursor();
    at.setPosition(3);
    code_->setTextCursor(at);
    test::WhenModalNamed(QStringLiteral("ColorDialog1"), [](QWidget* w) {
      auto* d = static_cast<QColorDialog*>(w);
      d->setCurrentColor(QColor(0x12, 0x34, 0x56));
      d->accept();
    });
    Menu().Insertcolorcode1->trigger();
    QCOMPARE(code_->toPlainText(), QStringLiteral("<P>#123456</P>"));
    test::WhenModalNamed(QStringLiteral("ColorDialog1"),
                         [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    Menu().Insertcolorcode1->trigger();
    QCOMPARE(code_->toPlainText(), QStringLiteral("<P>#123456</P>"));
    for (QAction* a : Menu().ScriptVariables1->actions())
      if (a->objectName() == QStringLiteral("Newstitle1")) a->trigger();
    QCOMPARE(code_->toPlainText(), QStringLiteral("<P>#123456%NEWSTITLE%</P>"));
    QCOMPARE(other_->toPlainText(), QStringLiteral("Hello %COMPANY%"));
  }
};

QTEST_MAIN(InsertMenuTest)
#include "insertmenu_test.moc"
