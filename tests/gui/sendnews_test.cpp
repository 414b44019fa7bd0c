// "Send News" in the program's main window, offscreen, against a scripted news server: while
// the walk runs the window shows which posting goes out and takes no other command.
#include <QtTest>

#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>
#include <QToolTip>

#include <functional>
#include <memory>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "gui/app/contenttabs.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgsettings.h"
#include "support/dbsite.h"
#include "support/modalhelper.h"
#include "support/nntp_peer.h"

using namespace pagolin;

class SendNewsTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::unique_ptr<TProgram> program_;
  QTimer watcher_;
  QStringList modals_;  // every modal window that came up: its name, or the question asked
  QMessageBox::StandardButton closeAnswer_ = QMessageBox::No;

  void AddPosting(const std::string& subject) {
    TTable& t = program_->DataModule2().tblNewsPost;
    t.Insert();
    t.FieldByName("Subject").SetAsString(subject);
    t.FieldByName("Body").SetAsString("Body of " + subject);
    t.FieldByName("Newsgroups").SetAsString("local.test");
    t.FieldByName("Send").SetAsBoolean(true);
    t.Post();
  }
  bool Stamped(const std::string& subject) {
    TTable& t = program_->DataModule2().tblNewsPost;
    return t.Locate("Subject", subject) && !t.FieldByName("Date sent").IsNull();
  }
  // Answers every modal window: the confirmation Yes, the close question closeAnswer_, any
  // other dialog is closed at once.
  void AnswerModals() {
    auto* w = QApplication::activeModalWidget();
    if (w == nullptr || !w->isVisible()) return;
    auto* box = qobject_cast<QMessageBox*>(w);
    modals_ << (box ? box->text() : w->objectName());
    if (box && !box->detailedText().isEmpty()) modals_.last() += QStringLiteral(": ") + box->detailedText();
    if (box && box->text().startsWith(QStringLiteral("Upload messages")))
      box->button(QMessageBox::Yes)->click();
    else if (box && box->button(closeAnswer_))
      box->button(closeAnswer_)->click();
    else if (auto* d = qobject_cast<QDialog*>(w))
      d->reject();
  }
  // Clicks "Send News"; while posting number goes out, duringPosting(number) runs from the
  // window's own event processing. Returns when the walk is over.
  void SendNews(std::uint16_t port, const std::function<void(int number)>& duringPosting) {
    TForm1* f = &program_->Form1();
    program_->Settings().Port = port;
    f->NNTP1.SetTimeout(2000);
    const auto watch = connect(f->StatusBar1, &QStatusBar::messageChanged, this, [&](const QString& text) {
      const QString prefix = QStringLiteral("Sending posting ");
      if (!text.startsWith(prefix)) return;
      const int number = text.mid(prefix.size()).section(QLatin1Char(' '), 0, 0).toInt();
      QTimer::singleShot(0, this, [&duringPosting, number] { duringPosting(number); });
    });
    QTest::mouseClick(f->ToolButton7, Qt::LeftButton);
    disconnect(watch);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QProcess tool;
    tool.start(QStringLiteral(PAGOLIN_NEWSITE), {dir_.path()});
    QVERIFY(tool.waitForFinished(30000) && tool.exitCode() == 0);
    const std::string site = FromQ(dir_.path()) + "/";
    TSettings settings(site);
    settings.Server = "127.0.0.1";
    settings.EMailAddress = "pagolin@example.test";
    std::string error;
    QVERIFY(settings.SaveSettings(error));
    InstallQtMessageHooks();
    program_ = std::make_unique<TProgram>(site);
    TForm1* f = &program_->Form1();
    f->resize(800, 500);
    f->show();
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    connect(&watcher_, &QTimer::timeout, this, &SendNewsTest::AnswerModals);
    watcher_.start(5);
  }
  void cleanupTestCase() { program_.reset(); }
  void init() { modals_.clear(); }

  void theWindowTakesNoCommandWhileTheWalkRuns() {
    TForm1* f = &program_->Form1();
    // Outside the walk a key and a click open the settings.
    QTest::keyClick(f, Qt::Key_S, Qt::ControlModifier);
    QTest::mouseClick(f->ToolButton3, Qt::LeftButton);
    QCOMPARE(modals_, QStringList({QStringLiteral("dlgSettings"), QStringLiteral("dlgSettings")}));
    modals_.clear();

    AddPosting("first");
    AddPosting("second");
    test::TTestServer server(test::GoodNewsServer, 2);
    QStringList shown;
    SendNews(server.Port(), [&](int number) {
      shown << f->StatusBar1->currentMessage();
      test::Screenshot(f, QStringLiteral("send-news-walk-%1").arg(number));
      if (number != 1) return;
      QTest::keyClick(f, Qt::Key_F9);
      QTest::keyClick(f, Qt::Key_S, Qt::ControlModifier);
      QTest::mouseClick(f->ToolButton1, Qt::LeftButton);
      QTest::mouseClick(f->ToolButton3, Qt::LeftButton);
      QTest::mouseClick(f->ToolButton7, Qt::LeftButton);
      f->close();
    });
    QCOMPARE(shown, QStringList({QStringLiteral("Sending posting 1 of 2 to 127.0.0.1..."),
                                 QStringLiteral("Sending posting 2 of 2 to 127.0.0.1...")}));
    QCOMPARE(modals_.join(QLatin1Char('|')),
             QStringList({QStringLiteral("Upload messages to Internet Newsgroups?"),
                          QStringLiteral("News postings are being sent. Close the window "
                                         "after the current posting?")})
                 .join(QLatin1Char('|')));
    QVERIFY(f->isVisible());
    QVERIFY(f->ToolButton7->isEnabled());
    QCOMPARE(f->StatusBar1->currentMessage(), QStringLiteral("2 of 2 news postings sent"));
    QVERIFY(Stamped("first") && Stamped("second"));
    QCOMPARE(QString::fromStdString(server.Received()).count(QStringLiteral("POST\r\n")), 2);
  }

  // A posting typed on the postings tab gets its groups in the strip's Newsgroups box; one
  // without groups is refused before any connection and stays due. Afterwards the "Send News"
  // button, whose action changed twice, shows its hint in the status bar and no pop-up tip.
  void aPostingTypedOnThePostingsTabGoesToTheGroupsTypedWithIt() {
    TForm1* f = &program_->Form1();
    TTabPostings& tab = *f->tbsMailAndNews;
    f->pgcMain->setCurrentWidget(&tab);
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    const auto typeInto = [](QWidget* w, const std::string& text) {
      w->setFocus();
      QVERIFY(QTest::qWaitFor([w] { return w->hasFocus(); }));
      test::TypeKeys(w, text);
    };
    for (const std::string groups : {"local.test", ""}) {
      QTest::mouseClick(tab.DBNavigator5->Button(TNavigateBtn::nbInsert), Qt::LeftButton);
      typeInto(tab.DBEdit14, groups.empty() ? "typed nowhere" : "typed here");
      typeInto(tab.DBEdit15, groups);
      typeInto(tab.DBRichEdit3, "Hello");
      QTest::mouseClick(tab.dbcbxInclude, Qt::LeftButton, {}, QPoint(6, tab.dbcbxInclude->height() / 2));
      QTest::mouseClick(tab.DBNavigator5->Button(TNavigateBtn::nbPost), Qt::LeftButton);
    }
    test::TTestServer server(test::GoodNewsServer, 2);
    SendNews(server.Port(), [](int) {});
    QVERIFY(Stamped("typed here"));
    QVERIFY(!Stamped("typed nowhere"));
    const QString received = QString::fromStdString(server.Received());
    QCOMPARE(received.count(QStringLiteral("POST\r\n")), 1);
    QVERIFY(received.contains(QStringLiteral("\r\nNewsgroups: local.test\r\n")));
    QCOMPARE(modals_.filter(QStringLiteral("Could not send")),
             QStringList{QStringLiteral("Could not send news posting: The posting has no newsgroups.")});

    TTable& posts = program_->DataModule2().tblNewsPost;
    QVERIFY(posts.Locate("Subject", "typed nowhere"));
    posts.Delete();  // due no more for the next test

    QHelpEvent tip(QEvent::ToolTip, QPoint(4, 4), f->ToolButton7->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(f->ToolButton7, &tip);
    QVERIFY(!QToolTip::isVisible());
  }

  // Yes to the question: the walk stops after the posting that is going out, the rest stays
  // due, and the window closes.
  void closingDuringTheWalkStopsAfterTheCurrentPosting() {
    TForm1* f = &program_->Form1();
    AddPosting("third");
    AddPosting("fourth");
    test::TTestServer server(test::GoodNewsServer, 2);
    closeAnswer_ = QMessageBox::Yes;
    SendNews(server.Port(), [&](int number) {
      if (number == 1) f->close();
    });
    QCOMPARE(modals_.size(), 2);
    QVERIFY(modals_.last().startsWith(QStringLiteral("News postings are being sent.")));
    QVERIFY(!f->isVisible());
    QVERIFY(Stamped("third"));
    QVERIFY(!Stamped("fourth"));
  }
};

QTEST_MAIN(SendNewsTest)
#include "sendnews_test.moc"
