// The single-instance guard between real copies of the program: this test process is the first
// copy where it must look at the first copy's window, the program itself everywhere else.
#include <QtTest>

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/qtext.h"
#include "gui/components/singleinstance.h"

using namespace pagolin;

class SingleInstanceTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString site1_;
  QString site2_;
  std::vector<std::unique_ptr<QProcess>> copies_;
  std::unique_ptr<TProgram> program_;  // this process as a copy of the program

  TForm1& StartProgramHere(const QString& site) {
    program_ = std::make_unique<TProgram>(FromQ(site));
    return program_->Form1();
  }

  static QString Socket(const QString& site) {
    return TSingleInstance::ServerName(QStringLiteral("Pagolin-it_SingleInstMsg"), site);
  }
  static bool Listening(const QString& site) {
    QLocalSocket probe;
    probe.connectToServer(Socket(site));
    return probe.waitForConnected(1000);
  }
  // A copy holds the site and answers a new copy's message.
  static bool Answers(const QString& site) {
    QLocalSocket probe;
    probe.connectToServer(Socket(site));
    if (!probe.waitForConnected(1000)) return false;
    probe.write("0 1\n");
    probe.flush();
    while (!probe.canReadLine() && probe.waitForReadyRead(2000)) {
    }
    return probe.canReadLine() && probe.readLine().startsWith("1 ");
  }
  QProcess& StartCopy(const QStringList& args) {
    copies_.push_back(std::make_unique<QProcess>());
    QProcess& copy = *copies_.back();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    copy.setProcessEnvironment(env);
    copy.start(QStringLiteral(PAGOLIN_PROGRAM), args);
    return copy;
  }
  static bool EndsWell(QProcess& copy) {
    return QTest::qWaitFor([&] { return copy.state() == QProcess::NotRunning; }, 30000) &&
           copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0;
  }
  static void KillCopy(QProcess& copy) {
    copy.kill();
    copy.waitForFinished(10000);
  }

 private slots:
  void initTestCase() {
    site1_ = dir_.path() + QStringLiteral("/one");
    site2_ = dir_.path() + QStringLiteral("/two");
    for (const QString& site : {site1_, site2_})
      QCOMPARE(QProcess::execute(QStringLiteral(PAGOLIN_NEWSITE), {site}), 0);
  }
  void cleanup() {
    for (auto& copy : copies_) KillCopy(*copy);
    copies_.clear();
    program_.reset();
    for (const QString& site : {site1_, site2_}) {
      QLocalServer::removeServer(Socket(site));
      QFile::remove(Socket(site) + QStringLiteral(".lock"));
    }
  }

  void aSecondCopyOnTheSameSiteEndsAndRestoresTheFirst() {
    TForm1& first = StartProgramHere(site1_);
    QVERIFY(first.SingleInstance1->IsFirst());
    QCOMPARE(first.SingleInstance1->MessageName(), QStringLiteral("Pagolin-it_SingleInstMsg"));
    first.showMinimized();
    QVERIFY(first.isMinimized());
    QVERIFY(EndsWell(StartCopy({QStringLiteral("--site"), site1_})));
    QVERIFY(!first.isMinimized());
    QVERIFY(first.isVisible());
  }

  void theProgramAloneKeepsRunningAndAnswersTheNextCopy() {
    QProcess& first = StartCopy({QStringLiteral("--site"), site1_});
    QVERIFY(QTest::qWaitFor([&] { return Listening(site1_); }, 30000));
    QVERIFY(EndsWell(StartCopy({QStringLiteral("--site"), site1_ + QStringLiteral("/../one/")})));
    QCOMPARE(first.state(), QProcess::Running);
  }

  void aCopyOnAnotherSiteRunsBesideTheFirst() {
    StartProgramHere(site1_);
    QProcess& other = StartCopy({QStringLiteral("--site"), site2_});
    QVERIFY(QTest::qWaitFor([&] { return Listening(site2_); }, 30000));
    QCOMPARE(other.state(), QProcess::Running);
  }

  void theSocketOfACrashedCopyDoesNotBlockTheStart() {
    QProcess& crashed = StartCopy({QStringLiteral("--site"), site1_});
    QVERIFY(QTest::qWaitFor([&] { return Answers(site1_); }, 30000));
    KillCopy(crashed);
    QVERIFY(QFileInfo::exists(Socket(site1_)));
    QVERIFY(QFileInfo::exists(Socket(site1_) + QStringLiteral(".lock")));
    QVERIFY(!Listening(site1_));
    QVERIFY(StartProgramHere(site1_).SingleInstance1->IsFirst());
    QVERIFY(Listening(site1_));
  }

  // A first copy that is stopped cannot answer; a new copy waits (it neither ends nor runs
  // beside it) and takes the site over once the stopped one is killed.
  void aCopyWaitsForAStoppedFirstCopyAndTakesOverWhenItIsKilled() {
    QProcess& stopped = StartCopy({QStringLiteral("--site"), site1_});
    QVERIFY(QTest::qWaitFor([&] { return Answers(site1_); }, 30000));
    QCOMPARE(::kill(static_cast<pid_t>(stopped.processId()), SIGSTOP), 0);
    QProcess& waiting = StartCopy({QStringLiteral("--site"), site1_});
    QVERIFY(!QTest::qWaitFor([&] { return waiting.state() == QProcess::NotRunning; }, 3000));
    KillCopy(stopped);
    QVERIFY(QTest::qWaitFor([&] { return Answers(site1_); }, 30000));
    QVERIFY(EndsWell(StartCopy({QStringLiteral("--site"), site1_})));
    QCOMPARE(waiting.state(), QProcess::Running);
  }

  void ofTwentyCopiesStartedTogetherOneRunsAndTheOthersEndWell() {
    for (int i = 0; i < 20; ++i) StartCopy({QStringLiteral("--site"), site1_});
    auto running = [this] {
      return std::count_if(copies_.begin(), copies_.end(),
                           [](const auto& c) { return c->state() != QProcess::NotRunning; });
    };
    QVERIFY(QTest::qWaitFor([&] { return running() <= 1; }, 120000));
    QCOMPARE(running(), 1);
    for (const auto& copy : copies_) {
      if (copy->state() != QProcess::NotRunning) continue;
      QCOMPARE(copy->exitStatus(), QProcess::NormalExit);
      QCOMPARE(copy->exitCode(), 0);
    }
    QVERIFY(Answers(site1_));
  }

  void theHeadlessCommandsRunWhileTheProgramIsOpenOnTheSite_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("build") << "--build";
    QTest::newRow("send news") << "--send-news";
  }
  void theHeadlessCommandsRunWhileTheProgramIsOpenOnTheSite() {
    QFETCH(QString, command);
    StartProgramHere(site1_).show();
    QVERIFY(EndsWell(StartCopy({command, QStringLiteral("--site"), site1_})));
  }

  void theGuardWantsTheMainFormAndAnApplicationName_data() {
    QTest::addColumn<int>("owner");  // 0 none, 1 a child widget, 2 a window
    QTest::addColumn<QString>("appName");
    QTest::addColumn<bool>("wrongOwner");
    QTest::addColumn<QString>("message");
    const QString owner = QStringLiteral("Owner of TSingleInstance should be Application's main form");
    const QString name = QStringLiteral(
        "Application must have a name. Set it in project before calling Application.CreateForm");
    QTest::newRow("no owner") << 0 << "Pagolin" << true << owner;
    QTest::newRow("a control") << 1 << "Pagolin" << true << owner;
    QTest::newRow("no application name") << 2 << "" << false << name;
  }
  void theGuardWantsTheMainFormAndAnApplicationName() {
    QFETCH(int, owner);
    QFETCH(QString, appName);
    QFETCH(bool, wrongOwner);
    QFETCH(QString, message);
    QWidget window;
    auto* control = new QWidget(&window);
    QObject* owners[] = {nullptr, control, &window};
    qApp->setObjectName(appName);
    try {
      TSingleInstance guard(owners[owner], site1_);
      QFAIL("the guard was made");
    } catch (const std::runtime_error& e) {
      QCOMPARE(dynamic_cast<const EWrongOwner*>(&e) != nullptr, wrongOwner);
      QCOMPARE(dynamic_cast<const EAppNameNotSet*>(&e) != nullptr, !wrongOwner);
      QCOMPARE(QString::fromLatin1(e.what()), message);
    }
    QVERIFY(!QFileInfo::exists(Socket(site1_)));
  }
};

QTEST_MAIN(SingleInstanceTest)
#include "singleinstance_test.moc"
