// The Help menu of the program's main window, offscreen: F1 on each tab and dialog, the help
// contents from the menu and the tool bar, the publisher's addresses, the about box.
#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrlQuery>
#include <memory>

#include "core/data/settings.h"
#include "gui/app/appinfo.h"
#include "gui/app/contenttabs.h"
#include "gui/app/dlgabout.h"
#include "gui/app/helpfile.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/nvapplication.h"
#include "gui/components/qtext.h"
#include "support/messagerecorder.h"
#include "support/modalhelper.h"
#include "support/urlrecorder.h"

using namespace pagolin;

class HelpTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::unique_ptr<TProgram> program_;
  TForm1* form_ = nullptr;

  // The help page that pressing F1 on widget asks the desktop to open.
  static QString PageOnF1(test::TUrlRecorder& desktop, QWidget* widget) {
    QTest::keyClick(widget, Qt::Key_F1);
    return QFileInfo(desktop.TakeLast().toLocalFile()).fileName();
  }
  // The page the program shows for a help context, where the build put the help.
  static bool PageExists(const QString& page) {
    const QString help = QFileInfo(QStringLiteral(PAGOLIN_PROGRAM)).absolutePath() + QStringLiteral("/help/");
    return !page.isEmpty() && QFileInfo::exists(help + page);
  }

 private slots:
  void initTestCase() {
    QCOMPARE(QProcess::execute(QStringLiteral(PAGOLIN_NEWSITE), {dir_.path()}), 0);
    program_ = std::make_unique<TProgram>(FromQ(dir_.path()));
    form_ = &program_->Form1();
    form_->resize(900, 600);
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_));
  }
  void cleanupTestCase() { program_.reset(); }

  void f1OpensThePageOfTheActiveTab_data() {
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("page");
    QTest::newRow("Products") << "tbsProducts"
                              << "products.html";
    QTest::newRow("Hot News") << "tbsHotNews"
                              << "news.html";
    QTest::newRow("Cool Links") << "tbsCoolLinks"
                                << "links.html";
    QTest::newRow("Newsgroup Postings") << "tbsMailAndNews"
                                        << "postings.html";
    QTest::newRow("HTML codes") << "tbsCodes"
                                << "codes.html";
    QTest::newRow("Upload files: the window's") << "tbsUpload"
                                                << "window.html";
  }
  void f1OpensThePageOfTheActiveTab() {
    QFETCH(QString, tab);
    QFETCH(QString, page);
    test::TUrlRecorder desktop;
    form_->pgcMain->setCurrentWidget(form_->pgcMain->findChild<QWidget*>(tab));
    // From anywhere in the window: the tab bar, or the tool bar.
    QCOMPARE(PageOnF1(desktop, form_->pgcMain), page);
    QCOMPARE(PageOnF1(desktop, form_->ToolButton9), page);
    QVERIFY2(PageExists(page), qPrintable(page));
  }

  void f1OpensThePageOfTheDialogInFront_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("page");
    QTest::newRow("settings") << "dlgSettings"
                              << "settings.html";
    QTest::newRow("new database") << "dlgNewDatabase"
                                  << "newdatabase.html";
  }
  void f1OpensThePageOfTheDialogInFront() {
    QFETCH(QString, dialog);
    QFETCH(QString, page);
    test::TUrlRecorder desktop;
    QString opened;
    test::WhenModalNamed(
        dialog, [&](QWidget* d) { opened = PageOnF1(desktop, d->focusWidget() ? d->focusWidget() : d); });
    form_->findChild<QDialog*>(dialog)->exec();
    QCOMPARE(opened, page);
    QVERIFY2(PageExists(page), qPrintable(page));
  }

  void theMenuAndTheToolBarOpenTheContents() {
    test::TUrlRecorder desktop;
    form_->Help2->trigger();
    QCOMPARE(desktop.TakeLast(), QUrl::fromLocalFile(HelpFile()));
    QTest::mouseClick(form_->ToolButton9, Qt::LeftButton);
    QCOMPARE(desktop.TakeLast(), QUrl::fromLocalFile(HelpFile()));
    QVERIFY(PageExists(QFileInfo(HelpFile()).fileName()));
  }

  // With no browser or mail program to start (the offscreen desktop has none), each command
  // says what to open by hand, naming the file or address.
  void withoutABrowserEachCommandNamesWhatToOpenByHand() {
    test::TMessageRecorder recorder;
    form_->pgcMain->setCurrentWidget(form_->tbsProducts);
    QTest::keyClick(form_->pgcMain, Qt::Key_F1);
    form_->Help2->trigger();
    form_->VisitHomepage1->trigger();
    form_->SendEmail1->trigger();
    form_->actLaunchBrowser->trigger();
    const auto file = [](const std::string& path) {
      return "No program could be started to open \"" + path + "\". Please open it by hand.";
    };
    QCOMPARE(recorder.messages,
             (std::vector<std::string>{file(FromQ(HelpTopicFile(HelpFile(), 100))), file(FromQ(HelpFile())),
                                       std::string("No web browser could be started. Please open ") +
                                           kPublisherHomepage + " by hand.",
                                       std::string("No e-mail program could be started. Please write to ") +
                                           kPublisherEmail + " by hand.",
                                       file(program_->Settings().HomePagePath())}));
  }

  void theAddressItemsOpenAndCopyThePublishersAddresses() {
    test::TUrlRecorder desktop;
    form_->VisitHomepage1->trigger();
    QCOMPARE(desktop.TakeLast(), QUrl(QString::fromLatin1(kPublisherHomepage)));
    form_->SendEmail1->trigger();
    const QUrl mail = desktop.TakeLast();
    QCOMPARE(mail.path(), QString::fromLatin1(kPublisherEmail));
    QCOMPARE(QUrlQuery(mail).queryItemValue(QStringLiteral("subject")), QStringLiteral("Pagolin Pro 1.12"));
    form_->CopyEmail1->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromLatin1(kPublisherEmail));
    form_->CopyHomepage1->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromLatin1(kPublisherHomepage));
  }

  void theAboutBoxShowsTitleVersionAndLicenseAndClosesOnOk() {
    QStringList shown;
    test::WhenModalNamed(QStringLiteral("dlgAbout"), [&](QWidget* d) {
      test::Screenshot(d, QStringLiteral("about"));
      shown << d->findChild<QLabel*>(QStringLiteral("lblTitle"))->text()
            << d->findChild<QLabel*>(QStringLiteral("lblVersion"))->text()
            << d->findChild<QLabel*>(QStringLiteral("lblLicense"))->text().section(QLatin1Char(':'), 0, 0);
      QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
    });
    form_->About1->trigger();
    QCOMPARE(shown, (QStringList{form_->NVApplication1->Title(), QStringLiteral("Version 1.12"),
                                 QStringLiteral("License GPL-3.0-or-later")}));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Pagolin Pro"));
    QCOMPARE(program_->dlgAbout().result(), int(QDialog::Accepted));
  }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
