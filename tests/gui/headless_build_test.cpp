// pagolin --build on sites whose settings, folders or files are odd: where the pages go, what is
// refused, what is only a warning, and what the messages say.
#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "core/platform/filenames.h"
#include "gui/components/qtext.h"

using namespace pagolin;

namespace {

struct TRun {
  int exitCode = -1;
  QString out, err;
};

TRun Run(const QString& program, const QStringList& args, int timeoutMs = 60000) {
  QProcess p;
  p.start(program, args);
  TRun run;
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished();
    run.err = QStringLiteral("(did not finish)");
    return run;
  }
  run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  run.out = QString::fromUtf8(p.readAllStandardOutput());
  run.err = QString::fromUtf8(p.readAllStandardError());
  return run;
}

void Write(const std::string& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

}  // namespace

class HeadlessBuildTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  std::string site_;  // with its trailing delimiter

  // A new sample site whose settings file holds text (written as it is when not empty).
  bool MakeSite(const std::string& settings = {}) {
    site_ = FromQ(dir_->path()) + "/site/";
    if (Run(QStringLiteral(PAGOLIN_NEWSITE), {ToQ(site_), QStringLiteral("--sample")}).exitCode != 0)
      return false;
    if (!settings.empty()) Write(site_ + "pagolin.ini", settings);
    return true;
  }
  TRun Build(const QString& program = QStringLiteral(PAGOLIN_PROGRAM)) {
    return Run(program,
               {QStringLiteral("--build"), QStringLiteral("--site"), QFile::decodeName(site_.c_str())});
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
  }

  // Empty and relative output folders and archives lie in the site folder.
  void pagesGoIntoTheSiteFolderForEmptyAndRelativeFolders_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("folder");  // where the pages must be, below the site folder
    QTest::newRow("empty FTP folder")
        << QStringLiteral("[Settings]\r\nUploadMethodFTP=1\r\nFTPUploadFile=\r\n") << QString();
    QTest::newRow("relative FTP folder")
        << QStringLiteral("[Settings]\r\nUploadMethodFTP=1\r\nFTPUploadFile=www\r\n")
        << QStringLiteral("www/");
    QTest::newRow("empty archive") << QStringLiteral("[Settings]\r\nUploadMethodFTP=0\r\nZIPUploadFile=\r\n")
                                   << QString();
    QTest::newRow("archive without folder")
        << QStringLiteral("[Settings]\r\nUploadMethodFTP=0\r\nZIPUploadFile=out/site.zip\r\n")
        << QStringLiteral("out/");
  }
  void pagesGoIntoTheSiteFolderForEmptyAndRelativeFolders() {
    QFETCH(QString, settings);
    QFETCH(QString, folder);
    QVERIFY(MakeSite(FromQ(settings)));
    if (!folder.isEmpty()) QVERIFY(QDir().mkpath(ToQ(site_) + folder));
    const TRun run = Build();
    QCOMPARE(run.exitCode, 0);
    for (const char* page : {"index.htm", "index1.htm", "index2.htm"})
      QVERIFY2(FileExists(site_ + FromQ(folder) + page), page);
    QVERIFY(!FileExists("/index1.htm"));
  }

  void aHomePageNameWithAFolderIsRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("parent folder") << QStringLiteral("../escape.htm") << QStringLiteral("without a folder");
    QTest::newRow("sub folder") << QStringLiteral("sub/index.htm") << QStringLiteral("without a folder");
    QTest::newRow("empty") << QString() << QStringLiteral("is empty");
  }
  void aHomePageNameWithAFolderIsRefused() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    QVERIFY(MakeSite("[Settings]\r\nWWWHomepageFile=" + FromQ(name) + "\r\n"));
    const TRun run = Build();
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!FileExists(FromQ(dir_->path()) + "/escape.htm"));
    QVERIFY(!FileExists(site_ + "index1.htm"));
  }

  // What a stopped build left of its pages goes; other files stay. A pipe named like a download
  // counts as missing instead of stopping the build.
  void leftoversGoAndPipesCountAsMissing() {
    QVERIFY(MakeSite());
    Write(site_ + "index1.htm.tmp4711", "half a page");
    Write(site_ + "index1.htm.tmpx", "not ours");
    Write(site_ + "notes.tmp12", "not ours");
    QVERIFY(QFile::remove(ToQ(site_ + "quillpad.zip")));
    QCOMPARE(::mkfifo((site_ + "quillpad.zip").c_str(), 0600), 0);
    const TRun run = Run(QStringLiteral(PAGOLIN_PROGRAM),
                         {QStringLiteral("--build"), QStringLiteral("--site"), ToQ(site_)}, 20000);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!FileExists(site_ + "index1.htm.tmp4711"));
    QVERIFY(FileExists(site_ + "index1.htm.tmpx"));
    QVERIFY(FileExists(site_ + "notes.tmp12"));
    QVERIFY2(run.out.contains(QStringLiteral("\n  Please build this file: quillpad.zip")),
             qPrintable(run.out));
  }

  void unreadableSettingsStopTheBuildAndSaySo() {
    QVERIFY(MakeSite());
    QVERIFY(QDir().mkdir(ToQ(site_ + "pagolin.ini")));  // a folder where the file belongs
    const TRun run = Build();
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("could not be read, so nothing was built")),
             qPrintable(run.err));
    QVERIFY(!FileExists(site_ + "index.htm"));
  }

  // A folder that does not exist, named with letters beyond ASCII, shows as typed.
  void messagesNameMissingFoldersAsTheyAre() {
    site_ = FromQ(dir_->path()) + "/n\xc3\xb6/";  // "nö" in the file system's UTF-8
    const TRun run = Build();
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(
        run.err.contains(QStringLiteral("n\u00f6")) && run.err.contains(QStringLiteral("does not exist")),
        qPrintable(run.err));
    QVERIFY(!run.err.contains(QStringLiteral("\u00c3")));
  }

  // A read-only site folder: the first start cannot store the output folder, which is only a
  // warning; the pages go to the writable output folder. Root ignores file modes, so the
  // program then runs as the user nobody.
  void aReadOnlySiteFolderStillBuilds() {
    const std::string out = FromQ(dir_->path()) + "/out";
    QVERIFY(QDir().mkpath(ToQ(out)));
    QVERIFY(MakeSite("[Settings]\r\nUploadMethodFTP=1\r\nFTPUploadFile=" + out + "/\r\n"));
    QVERIFY(::chmod(out.c_str(), 0777) == 0 && ::chmod(FromQ(dir_->path()).c_str(), 0755) == 0);
    for (const char* f : {"product.DB", "news.db", "links.db", "codes.db", "newspost.db", "pagolin.ini"})
      QVERIFY(::chmod((site_ + f).c_str(), 0644) == 0);
    QVERIFY(::chmod(site_.c_str(), 0555) == 0);
    TRun run;
    if (::geteuid() == 0) {
      run = Run(QStringLiteral("setpriv"), {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                            QStringLiteral("--clear-groups"), QStringLiteral(PAGOLIN_PROGRAM),
                                            QStringLiteral("--build"), QStringLiteral("--site"), ToQ(site_)});
    } else {
      run = Build();
    }
    ::chmod(site_.c_str(), 0755);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains(QStringLiteral("Warning: The settings file could not be written")),
             qPrintable(run.err));
    QVERIFY(FileExists(out + "/index1.htm"));
  }

  // A copy of the program under another name keeps settings of its own.
  void aCopyUnderAnotherNameKeepsItsOwnSettings() {
    QVERIFY(MakeSite());
    const QString copy = dir_->path() + QStringLiteral("/pagolin-other");
    QVERIFY(QFile::copy(QStringLiteral(PAGOLIN_PROGRAM), copy));
    QCOMPARE(Build(copy).exitCode, 0);
    QVERIFY(FileExists(site_ + "pagolin-other.ini"));
    QVERIFY(!FileExists(site_ + "pagolin.ini"));
  }
};

QTEST_GUILESS_MAIN(HeadlessBuildTest)
#include "headless_build_test.moc"
