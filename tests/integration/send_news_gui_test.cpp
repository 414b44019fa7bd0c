// The "Send News" tool button of the running program's objects, offscreen, posting to the
// real news server on 127.0.0.1:119 with the program's own message boxes.
#include <QtTest>

#include <QAbstractButton>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgsettings.h"
#include "support/modalhelper.h"
#include "support/news_reader.h"

using namespace pagolin;

class SendNewsGuiTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::string token_;

  std::unique_ptr<TProgram> program_;
  std::string Site() const { return FromQ(dir_.path()) + "/"; }

  void AddPosting(const std::string& subject, const std::string& groups) {
    TTable& t = program_->DataModule2().tblNewsPost;
    t.Insert();
    t.FieldByName("Subject").SetAsString(subject);
    t.FieldByName("Body").SetAsString("Body of " + subject);
    t.FieldByName("Newsgroups").SetAsString(groups);
    t.FieldByName("Send").SetAsBoolean(true);
    t.Post();
  }
  bool Stamped(const std::string& subject) {
    TTable& t = program_->DataModule2().tblNewsPost;
    for (t.First(); !t.Eof(); t.Next()) {
      if (t.FieldByName("Subject").AsString() == subject) return !t.FieldByName("Date sent").IsNull();
    }
    return false;
  }
  static void Press(QWidget* box, QMessageBox::StandardButton which) {
    auto* b = qobject_cast<QMessageBox*>(box);
    if (b && b->button(which)) b->button(which)->click();
  }

 private slots:
  void initTestCase() {
    test::TNewsReader probe;
    QVERIFY2(probe.Ready(), test::kServerMissing);
    QVERIFY(dir_.isValid());
    QProcess tool;
    tool.start(QStringLiteral(PAGOLIN_NEWSITE), {dir_.path()});
    QVERIFY(tool.waitForFinished(30000) && tool.exitCode() == 0);
    TSettings settings(Site());
    settings.Server = "127.0.0.1";
    settings.EMailAddress = "pagolin@example.test";
    std::string error;
    QVERIFY(settings.SaveSettings(error));
    token_ = test::UniqueToken();
    InstallQtMessageHooks();
    program_ = std::make_unique<TProgram>(Site());
    program_->dlgSettings().LoadSettings();
  }
  void cleanupTestCase() { program_.reset(); }

  void answeringNoSendsNothing() {
    const std::string subject = "GUI no " + token_;
    AddPosting(subject, "local.test");
    TForm1* f = &program_->Form1();
    QString asked;
    test::WhenModalNamed(QStringLiteral("MessageDlg"), [&](QWidget* w) {
      asked = qobject_cast<QMessageBox*>(w)->text();
      Press(w, QMessageBox::No);
    });
    QVERIFY(f->ToolButton7->isEnabled());
    f->ToolButton7->click();
    QCOMPARE(asked, QStringLiteral("Upload messages to Internet Newsgroups?"));
    QVERIFY(!Stamped(subject));
    QVERIFY(f->ToolButton7->isEnabled());
    // Leave it for the next command.
  }

  void answeringYesSendsShowsFailuresWithTheirReasonAndStamps() {
    const std::string bad = "GUI refused " + token_;
    const std::string good = "GUI good " + token_;
    AddPosting(bad, "local.nosuchgroup");
    AddPosting(good, "local.test");
    TForm1* f = &program_->Form1();
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    test::WhenModalNamed(QStringLiteral("MessageDlg"), [&](QWidget* w) { Press(w, QMessageBox::Yes); });
    QString errorText, errorDetails;
    bool buttonEnabledDuring = true;
    QStringList statusTexts;
    const auto watch = connect(f->StatusBar1, &QStatusBar::messageChanged, this,
                               [&](const QString& text) { statusTexts << text; });
    test::WhenModalNamed(QStringLiteral("ErrorBox"), [&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      errorText = box->text();
      errorDetails = box->detailedText();
      buttonEnabledDuring = f->ToolButton7->isEnabled();
      test::Screenshot(w, QStringLiteral("send-news-error"));
      Press(w, QMessageBox::Ok);
    });
    f->ToolButton7->click();
    disconnect(watch);
    QCOMPARE(errorText, QStringLiteral("Could not send news posting"));
    QVERIFY2(errorDetails.startsWith(QStringLiteral("The news server answered 441")),
             qPrintable(errorDetails));
    QVERIFY(!buttonEnabledDuring);
    QVERIFY2(statusTexts.contains(QStringLiteral("Connecting to 127.0.0.1...")),
             qPrintable(statusTexts.join(QLatin1Char('|'))));
    QVERIFY(f->ToolButton7->isEnabled());
    QVERIFY(!Stamped(bad));
    QVERIFY(Stamped(good));
    QVERIFY(Stamped("GUI no " + token_));  // due since the first test, sent now
    test::TNewsReader reader;
    QVERIFY(!reader.ArticleBySubject("local.test", "Subject: " + good).empty());
  }
};

QTEST_MAIN(SendNewsGuiTest)
#include "send_news_gui_test.moc"
