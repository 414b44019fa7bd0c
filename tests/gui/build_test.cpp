// "Build pages" run offscreen on a sample site, as a person runs it: the tool button, the
// dialog that builds by itself and closes, the upload list and the used space.
#include <QtTest>

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>

#include <utime.h>
#include <fstream>
#include <memory>

#include "core/data/datamod.h"
#include "core/pages/fileinfo.h"
#include "core/platform/filenames.h"
#include "core/platform/hooks.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/qtext.h"
#include "gui/pages/animate.h"
#include "gui/pages/dlgprogress.h"
#include "support/modalhelper.h"

using namespace pagolin;

class BuildTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  std::string site_;
  std::unique_ptr<TProgram> program_;

  // A sample site; settings text, when given, becomes its pagolin.ini.
  bool StartOnSample(const std::string& settings = {}) {
    QProcess tool;
    tool.start(QStringLiteral(PAGOLIN_NEWSITE), {dir_->path(), QStringLiteral("--sample")});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) return false;
    site_ = IncludeTrailingPathDelimiter(FromQ(dir_->path()));
    if (!settings.empty()) std::ofstream(site_ + "pagolin.ini", std::ios::binary) << settings;
    program_ = std::make_unique<TProgram>(site_);
    program_->Form1().resize(900, 600);
    program_->Form1().show();
    return QTest::qWaitForWindowExposed(&program_->Form1());
  }
  // Clicks "Build pages" on the tool bar; returns when the dialog has closed.
  void ClickBuild() {
    auto* button = program_->Form1().findChild<QToolButton*>(QStringLiteral("ToolButton1"));
    QVERIFY(button && button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
  }
  QStringList Items(Qt::CheckState state) {
    QStringList texts;
    QListWidget* list = program_->Form1().CheckListBox1;
    for (int i = 0; i < list->count(); ++i)
      if (list->item(i)->checkState() == state) texts << list->item(i)->text();
    return texts;
  }

 private slots:
  void initTestCase() { InstallQtMessageHooks(); }
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
  }
  void cleanup() {
    program_.reset();
    dir_.reset();
  }

  void buildWritesThePagesAndFillsTheUploadList() {
    QVERIFY(StartOnSample());
    bool shownIdle = false;
    test::WhenModalNamed(QStringLiteral("dlgProgress"), [&](QWidget* w) {
      auto* d = static_cast<TdlgProgress*>(w);
      // Shown: not yet building, the timer will start it.
      shownIdle = d->windowTitle() == QStringLiteral("Build web pages") && !d->btnCancel->isEnabled() &&
                  d->Timer1->isActive() && d->Timer1->interval() == 500 && !d->btnStart->isVisible() &&
                  d->ProgressBar1->value() == 0 && d->Animate1->Active();
      test::Screenshot(d, QStringLiteral("dlgProgress"));
      d->btnStartClick();  // what the timer does half a second later
    });
    ClickBuild();
    QVERIFY(shownIdle);
    QVERIFY(!program_->dlgProgress().isVisible());
    for (const char* page : {"index.htm", "index1.htm", "index2.htm"})
      QVERIFY2(FileExists(site_ + page), page);
    const std::string page1 = [&] {
      std::ifstream in(site_ + "index1.htm", std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    QVERIFY(page1.find("Quillpad") != std::string::npos);
    QVERIFY(page1.find("<IMG SRC=\"quillpad.gif\" WIDTH=200 HEIGHT=130") != std::string::npos);
    QVERIFY(page1.find("Draft") == std::string::npos);  // not included
    QVERIFY(page1.find("\r\n") != std::string::npos && page1.find("\n\n") == std::string::npos);

    // Every file of the site, present, checked, sorted; no archive yet, so no notes.
    const QStringList expected{
        QStringLiteral("forum.gif"),     QStringLiteral("index.htm"),       QStringLiteral("index1.htm"),
        QStringLiteral("index2.htm"),    QStringLiteral("ledgerlite.gif"),  QStringLiteral("ledgerlite.zip"),
        QStringLiteral("mirror.gif"),    QStringLiteral("pixelgarten.gif"), QStringLiteral("pixelgarten.zip"),
        QStringLiteral("quillpad.gif"),  QStringLiteral("quillpad.zip"),    QStringLiteral("safehaven.gif"),
        QStringLiteral("safehaven.zip"), QStringLiteral("usenet.gif")};
    QCOMPARE(Items(Qt::Checked), expected);
    QVERIFY(Items(Qt::Unchecked).isEmpty());
    long long total = 0;
    for (const QString& name : expected) total += GetFileSizeKB(site_ + FromQ(name));
    QVERIFY(total > 0);
    QCOMPARE(program_->Form1().Label2->text(), QString::number(total) + QStringLiteral(" KB"));
    QCoreApplication::processEvents();
    test::Screenshot(&program_->Form1(), QStringLiteral("uploadlist"));
  }

  // Escape right after F9, before the dialog's timer: nothing is built, not even later, the list
  // stays, and the next F9 builds in a dialog that closes itself.
  void closingTheDialogBeforeItsTimerBuildsNothing() {
    QVERIFY(StartOnSample());
    TdlgProgress& d = program_->dlgProgress();
    test::WhenModalNamed(QStringLiteral("dlgProgress"),
                         [&](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QTest::keyClick(&program_->Form1(), Qt::Key_F9);
    QVERIFY(!d.isVisible());
    QVERIFY(!d.Timer1->isActive());
    QTest::qWait(2 * d.Timer1->interval());  // past the tick that would have built
    for (const char* page : {"index.htm", "index1.htm", "index2.htm"})
      QVERIFY2(!FileExists(site_ + page), page);
    QCOMPARE(program_->Form1().CheckListBox1->count(), 0);

    ClickBuild();  // this time the timer builds and the dialog closes itself
    QVERIFY(!d.isVisible());
    QVERIFY(FileExists(site_ + "index1.htm"));
    QVERIFY(program_->Form1().CheckListBox1->count() > 0);
  }

  // The build writes the archive with the files present, so only the missing file gets a note.
  void archiveModeWritesTheArchiveAndNotesMissingFiles() {
    QVERIFY(StartOnSample());
    std::ofstream(site_ + "upload.zip") << "old archive";
    const std::time_t old = std::time(nullptr) - 3600;
    struct utimbuf times {
      old, old
    };
    QCOMPARE(::utime((site_ + "upload.zip").c_str(), &times), 0);
    QCOMPARE(::utime((site_ + "quillpad.zip").c_str(), &times), 0);
    std::remove((site_ + "mirror.gif").c_str());
    test::WhenModalNamed(QStringLiteral("dlgProgress"),
                         [](QWidget* w) { static_cast<TdlgProgress*>(w)->btnStartClick(); });
    ClickBuild();
    QCOMPARE(Items(Qt::Unchecked), QStringList{QStringLiteral("Please build this file: mirror.gif")});
    const QStringList checked = Items(Qt::Checked);
    QVERIFY(checked.contains(QStringLiteral("index.htm")));
    QVERIFY(checked.contains(QStringLiteral("quillpad.zip")));
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), ToQ(site_ + "upload.zip")});
    QVERIFY(unzip.waitForFinished(10000));
    QStringList inArchive =
        QString::fromUtf8(unzip.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    inArchive.sort();
    QStringList present = checked;
    present.sort();
    QCOMPARE(inArchive, present);
  }

  void cancelDuringTheBuildStillWritesEveryPageWithTheRowsHandled() {
    QVERIFY(StartOnSample());
    test::WhenModalNamed(QStringLiteral("dlgProgress"), [](QWidget* w) {
      auto* d = static_cast<TdlgProgress*>(w);
      // Pressed at the first chance, while the first news row of language 2 is handled.
      QTimer::singleShot(0, d, [d] { QTest::mouseClick(d->btnCancel, Qt::LeftButton); });
      d->btnStartClick();
    });
    ClickBuild();
    TdlgProgress* d = &program_->dlgProgress();
    QVERIFY(d->Cancelled());
    QVERIFY(!d->Animate1->Active());
    QVERIFY(!d->btnCancel->isEnabled());
    std::ifstream in(site_ + "index1.htm", std::ios::binary);
    const std::string page(std::istreambuf_iterator<char>(in), {});
    // Each walk handled its first row only: the news walk meets the draft first (left out),
    // the product walk Quillpad.
    QVERIFY(page.find("Quillpad") != std::string::npos);
    QVERIFY(page.find("Ledgerlite") == std::string::npos);
    QVERIFY(page.find("</HTML>") != std::string::npos);
    QVERIFY(FileExists(site_ + "index2.htm"));
  }

  void headlessBuildPrintsTheUploadListAndTheSpace() {
    QProcess tool;
    tool.start(QStringLiteral(PAGOLIN_NEWSITE), {dir_->path(), QStringLiteral("--sample")});
    QVERIFY(tool.waitForFinished(30000) && tool.exitCode() == 0);
    QProcess build;
    build.start(QStringLiteral(PAGOLIN_PROGRAM),
                {QStringLiteral("--build"), QStringLiteral("--site"), dir_->path()});
    QVERIFY(build.waitForFinished(60000));
    QCOMPARE(build.exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(build.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 15);
    QCOMPARE(lines.first(), QStringLiteral("\u2713 forum.gif"));
    QVERIFY(lines.contains(QStringLiteral("\u2713 index1.htm")));
    QVERIFY(lines.last().startsWith(QStringLiteral("Used Web server space: ")));
    QVERIFY(lines.last().endsWith(QStringLiteral(" KB")));

    // A folder that holds no site: the error, exit status 1.
    QProcess fail;
    fail.start(QStringLiteral(PAGOLIN_PROGRAM),
               {QStringLiteral("--build"), QStringLiteral("--site"), dir_->path() + QStringLiteral("/none")});
    QVERIFY(fail.waitForFinished(60000));
    QCOMPARE(fail.exitCode(), 1);
    QVERIFY(!fail.readAllStandardError().isEmpty());
  }

  void anErrorIsShownAndTheDialogClosesWithTheListSoFar() {
    QVERIFY(StartOnSample("[Settings]\r\nUploadMethodFTP=1\r\nFTPUploadFile=" + FromQ(dir_->path()) +
                          "/missing-folder\r\n"));
    const int codesRecord = 4;
    program_->DataModule2().tblCodes.SetRecNo(codesRecord);
    QString error;
    test::WhenModalNamed(QStringLiteral("dlgProgress"), [&](QWidget* w) {
      test::WhenModalNamed(QStringLiteral("ErrorBox"),
                           [&](QWidget* box) { error = static_cast<QMessageBox*>(box)->text(); });
      static_cast<TdlgProgress*>(w)->btnStartClick();
    });
    ClickBuild();
    QVERIFY2(error.contains(QStringLiteral("missing-folder/index.htm")), qPrintable(error));
    QVERIFY(!program_->dlgProgress().isVisible());
    QCOMPARE(Items(Qt::Unchecked), QStringList{QStringLiteral("index.htm")});
    QCOMPARE(program_->Form1().Label2->text(), QStringLiteral("0 KB"));
    QCOMPARE(program_->DataModule2().tblCodes.RecNo(), codesRecord);
  }
};

QTEST_MAIN(BuildTest)
#include "build_test.moc"
