// The program's command line, as a shell sees it: exit status and what goes where.
#include <QtTest>

#include <QProcess>

class CommandLineTest : public QObject {
  Q_OBJECT

  static QStringList Args(const char* line) { return QString::fromLatin1(line).split(QLatin1Char(' ')); }

 private slots:
  void theProgramAnswersItsCommandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");  // the start of standard output
    QTest::addColumn<QString>("err");  // the start of standard error
    const QString usage = QStringLiteral("Usage: pagolin [--site DIR]\n");
    QTest::newRow("--version") << Args("--version") << 0 << "pagolin 1.12\nLicense GPL-3.0-or-later: "
                               << "";
    QTest::newRow("--help wins") << Args("--bogus --help") << 0 << usage << "";
    QTest::newRow("unknown option") << Args("--bogus") << 2 << ""
                                    << QStringLiteral("pagolin: unknown option --bogus\n") + usage;
    QTest::newRow("--site without folder") << Args("--site") << 2 << ""
                                           << "pagolin: --site needs a folder\n";
    QTest::newRow("two modes") << Args("--build --send-news") << 2 << ""
                               << "pagolin: --build, --send-news and --publish exclude each other\n";
    QTest::newRow("publish beside build")
        << Args("--publish --build") << 2 << ""
        << "pagolin: --build, --send-news and --publish exclude each other\n";
    QTest::newRow("headless stray argument") << Args("--build x") << 2 << ""
                                             << "pagolin: unexpected argument x\n";
    QTest::newRow("stray argument beside Qt's own") << Args("-platform offscreen x") << 2 << ""
                                                    << "pagolin: unexpected argument x\n";
  }
  void theProgramAnswersItsCommandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess program;
    program.start(QStringLiteral(PAGOLIN_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), status);
    const QString stdOut = QString::fromUtf8(program.readAllStandardOutput());
    const QString stdErr = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
    // Qt may say something of its own first (a missing runtime folder); ours is the last text.
    QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.contains(err), qPrintable(stdErr));
    if (status == 2) QVERIFY(stdErr.endsWith(QStringLiteral("Try 'pagolin --help' for more information.\n")));
  }

  void helpNamesTheHelpPagesBesideTheProgram() {
    QProcess program;
    program.start(QStringLiteral(PAGOLIN_PROGRAM), {QStringLiteral("--help")});
    QVERIFY(program.waitForFinished(30000));
    const QString help =
        QFileInfo(QStringLiteral(PAGOLIN_PROGRAM)).absolutePath() + QStringLiteral("/help/Pagolin.html");
    QVERIFY(QString::fromUtf8(program.readAllStandardOutput())
                .endsWith(QStringLiteral("Help pages: ") + help + QLatin1Char('\n')));
  }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "commandline_test.moc"
