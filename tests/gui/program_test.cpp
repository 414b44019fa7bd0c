// Starts the program's objects offscreen on a prepared site, as main() does.
#include <QtTest>

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>

#include "core/data/datamod.h"
#include "core/platform/hooks.h"
#include "gui/app/contenttabs.h"
#include "gui/app/insertmenu.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/fontdialog.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgnewdatabase.h"
#include "gui/pages/dlgprogress.h"
#include "support/modalhelper.h"

using namespace pagolin;

class ProgramTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TProgram> program_;

  static QString PrepareSite(const QTemporaryDir& dir) {
    QProcess tool;
    tool.start(QStringLiteral(PAGOLIN_NEWSITE), {dir.path(), QStringLiteral("--sample")});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) return {};
    return dir.path();
  }

 private slots:
  void cleanup() { program_.reset(); }

  void startCreatesTheSixObjectsInOrderAndOpensTheTables() {
    QTemporaryDir dir;
    QVERIFY(!PrepareSite(dir).isEmpty());
    program_ = std::make_unique<TProgram>(FromQ(dir.path()));
    const TProgram& p = *program_;
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Pagolin"));
    QVERIFY(HelpFile().endsWith(QStringLiteral("Pagolin.html")));
    QCOMPARE(p.Form1().windowTitle(), QStringLiteral("Pagolin Pro"));
    QCOMPARE(p.Form1().objectName(), QStringLiteral("Form1"));
    QVERIFY(p.DataModule2().tblNews.Active());
    QVERIFY(p.DataModule2().tblLinks.Active());
    QCOMPARE(p.DataModule2().tblCodes.IndexName(), std::string("TypeAndName"));
    // The dialogs are the main window's children in the order they were created, hidden.
    const QStringList dialogs{QStringLiteral("dlgAbout"), QStringLiteral("dlgProgress"),
                              QStringLiteral("dlgSettings"), QStringLiteral("dlgNewDatabase")};
    QList<QDialog*> children;
    for (QDialog* d : p.Form1().findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
      if (dialogs.contains(d->objectName())) children << d;  // not the window's font and colour dialogs
    QCOMPARE(children.size(), dialogs.size());
    for (int i = 0; i < dialogs.size(); ++i) {
      QCOMPARE(children[i]->objectName(), dialogs[i]);
      QVERIFY(!children[i]->isVisible());
    }
  }

  void theFrameHasItsToolBarMenusTabsAndUploadTab() {
    QTemporaryDir dir;
    QVERIFY(!PrepareSite(dir).isEmpty());
    program_ = std::make_unique<TProgram>(FromQ(dir.path()));
    TForm1* f = &program_->Form1();
    const QStringList buttons{QStringLiteral("ToolButton1"), QStringLiteral("ToolButton4"),
                              QStringLiteral("ToolButton2"), QStringLiteral("ToolButton3"),
                              QStringLiteral("ToolButton7"), QStringLiteral("ToolButton9")};
    const QStringList captions{QStringLiteral("Build pages"),    QStringLiteral("Publish"),
                               QStringLiteral("Launch Browser"), QStringLiteral("Settings..."),
                               QStringLiteral("Send News"),      QStringLiteral("Help")};
    int lastX = -1;
    f->resize(900, 600);
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    for (int i = 0; i < buttons.size(); ++i) {
      auto* b = f->findChild<QToolButton*>(buttons[i]);
      QVERIFY2(b, qPrintable(buttons[i]));
      QCOMPARE(b->text(), captions[i]);
      QVERIFY2(b->x() > lastX, "left to right");
      lastX = b->x();
    }
    QCOMPARE(f->minimumSize(), QSize(420, 420));

    struct Item {
      const char* name;
      const char* caption;
      QKeySequence key;
    };
    const Item items[] = {{"Cleardatabases1", "&New database...", QKeySequence(QStringLiteral("Ctrl+N"))},
                          {"Settings1", "&Settings...", QKeySequence(QStringLiteral("Ctrl+S"))},
                          {"Build2", "&Build pages", QKeySequence(QStringLiteral("F9"))},
                          {"Publish1", "&Publish", {}},
                          {"Quit1", "&Quit", QKeySequence(QStringLiteral("Ctrl+Q"))},
                          {"Undo1", "&Undo", QKeySequence(QStringLiteral("Ctrl+Z"))},
                          {"Redo1", "&Redo", QKeySequence(QStringLiteral("Ctrl+Y"))},
                          {"Help2", "&Help", QKeySequence(QStringLiteral("F1"))},
                          {"VisitHomepage1", "&Visit our home page...", {}},
                          {"SendEmail1", "Send us &email...", {}},
                          {"CopyEmail1", "Copy our e&mail adress", {}},
                          {"CopyHomepage1", "Copy our WWW home page &URL", {}},
                          {"About1", "&About Pagolin...", {}}};
    QList<QAction*> inMenus;
    for (QAction* top : f->menuBar()->actions())
      for (QAction* a : top->menu()->actions())
        if (!a->isSeparator()) inMenus << a;
    QCOMPARE(inMenus.size(), int(std::size(items)));
    for (int i = 0; i < inMenus.size(); ++i) {
      QCOMPARE(inMenus[i]->objectName(), QString::fromLatin1(items[i].name));
      QCOMPARE(inMenus[i]->text(), QString::fromLatin1(items[i].caption));
      QCOMPARE(inMenus[i]->shortcut(), items[i].key);
    }

    const QStringList tabs{QStringLiteral("tbsProducts"),  QStringLiteral("tbsHotNews"),
                           QStringLiteral("tbsCoolLinks"), QStringLiteral("tbsMailAndNews"),
                           QStringLiteral("tbsCodes"),     QStringLiteral("tbsUpload")};
    QCOMPARE(f->pgcMain->count(), 6);
    for (int i = 0; i < tabs.size(); ++i) QCOMPARE(f->pgcMain->widget(i)->objectName(), tabs[i]);
    QCOMPARE(f->pgcMain->tabText(5), QStringLiteral("Upload files"));
    QCOMPARE(f->Label2->text(), QStringLiteral("0 KB"));
    QVERIFY(f->CheckListBox1);

    // Activation brings "Products" to the front.
    f->pgcMain->setCurrentIndex(5);
    f->FormActivate();
    QCOMPARE(f->pgcMain->currentIndex(), 0);

    // The hint under the mouse shows in the status bar, the window's own hint elsewhere.
    QCOMPARE(f->StatusBar1->currentMessage(), QStringLiteral("Welcome to Pagolin!"));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(f->ToolButton1, &enter);
    QCOMPARE(f->StatusBar1->currentMessage(), QStringLiteral("Rebuild your web site pages"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f->ToolButton1, &leave);
    QCOMPARE(f->StatusBar1->currentMessage(), QStringLiteral("Welcome to Pagolin!"));

    test::Screenshot(f, QStringLiteral("main_window"));
  }

  // "Products" comes to the front at start and after the program's own forms (the build
  // dialog above all), never when the person comes back from another program or from a
  // message box or a file, colour or font dialog: typing goes on where they were looking.
  void onlyTheProgramsOwnFormsBringProductsToTheFront() {
    QTemporaryDir dir;
    QVERIFY(!PrepareSite(dir).isEmpty());
    program_ = std::make_unique<TProgram>(FromQ(dir.path()));
    TForm1* f = &program_->Form1();
    const TMessageHooks before = SetMessageHooks({});
    InstallQtMessageHooks();
    f->resize(900, 600);
    f->pgcMain->setCurrentIndex(2);
    f->show();
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    QCOMPARE(f->pgcMain->currentIndex(), 0);  // the first activation

    QWidget other;  // another program's window
    other.show();
    const struct {
      const char* modal;  // answered when it is up (the build dialog builds, the others close)
      std::function<void()> run;
      const char* front;  // the tab in front afterwards, coming from the postings tab
    } cases[] = {
        {nullptr, [&] { other.activateWindow(); }, "tbsMailAndNews"},
        {"MessageBox", [] { ShowMessage("A message"); }, "tbsMailAndNews"},
        {"OpenDialog1", [&] { f->OpenDialog()->exec(); }, "tbsMailAndNews"},
        {"ColorDialog1", [&] { f->InsertMenu->ColorDialog1->exec(); }, "tbsMailAndNews"},
        {"FontDialog1", [&] { f->FontDialog1->exec(); }, "tbsMailAndNews"},
        {"dlgSettings", [&] { f->ToolButton3Click(); }, "tbsProducts"},
        {"dlgAbout", [&] { f->AboutClick(); }, "tbsProducts"},
        {"dlgProgress", [&] { f->Build2Click(); }, "tbsProducts"},
    };
    for (const auto& c : cases) {
      f->pgcMain->setCurrentWidget(f->tbsMailAndNews);
      if (c.modal)
        test::WhenModalNamed(QString::fromLatin1(c.modal), [](QWidget* w) {
          if (auto* build = qobject_cast<TdlgProgress*>(w)) build->btnStartClick();
        });
      c.run();
      if (!c.modal) QVERIFY(QTest::qWaitForWindowActive(&other));
      f->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(f));
      QCOMPARE(f->pgcMain->currentWidget()->objectName(), QString::fromLatin1(c.front));
    }
    SetMessageHooks(before);
  }

  void closingTheMainWindowEndsTheMessageLoop() {
    QTemporaryDir dir;
    QVERIFY(!PrepareSite(dir).isEmpty());
    program_ = std::make_unique<TProgram>(FromQ(dir.path()));
    program_->Form1().showMaximized();
    QTimer::singleShot(200, [this] { program_->Form1().Quit1->trigger(); });
    QTimer watchdog;
    bool timedOut = false;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [&] {
      timedOut = true;
      QApplication::exit(99);
    });
    watchdog.start(10000);
    const int status = QApplication::exec();
    QVERIFY(!timedOut);
    QCOMPARE(status, 0);
  }

  void aSiteWithoutTablesShowsWhichFileIsMissingAndKeepsRunning() {
    QTemporaryDir dir;
    std::vector<std::string> errors;
    TMessageHooks hooks;
    hooks.showError = [&](const std::string& text, const std::string&) { errors.push_back(text); };
    TMessageHooks old = SetMessageHooks(hooks);
    program_ = std::make_unique<TProgram>(FromQ(dir.path()));
    SetMessageHooks(old);
    QCOMPARE(errors.size(), size_t(1));
    const QString text = ToQ(errors[0]);
    QVERIFY2(text.contains(QStringLiteral("news.db")), qPrintable(text));
    QVERIFY2(text.contains(dir.path()), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("pagolin-newsite")), qPrintable(text));
    QVERIFY(!program_->DataModule2().tblNews.Active());
    QVERIFY(!program_->DataModule2().tblProducts.Active());
    QVERIFY(program_->dlgNewDatabase().parent() == &program_->Form1());
  }
};

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
