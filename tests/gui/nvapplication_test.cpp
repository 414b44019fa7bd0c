// The application information component and the application object's exception event, under
// the program's own application object.
#include <QtTest>

#include <QUrlQuery>
#include <QWidget>
#include <stdexcept>

#include "core/platform/hooks.h"
#include "gui/components/application.h"
#include "gui/components/nvapplication.h"
#include "support/urlrecorder.h"

using namespace pagolin;

namespace {

// Throws from its event handler, as a command that fails does.
class TThrower : public QObject {
 public:
  bool throwStd = true;
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    if (throwStd) throw std::runtime_error("Table is busy");
    throw 42;
  }
};

}  // namespace

class NVApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { TApplication::Instance()->OnException = nullptr; }

  void loadedPutsTheTitleOnTheWindowAndTheApplication_data() {
    QTest::addColumn<bool>("setTitle");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("caption");
    QTest::newRow("without aoSetTitle") << false << "1.12"
                                        << "Pagolin Pro";
    QTest::newRow("aoSetTitle") << true << "1.12"
                                << "Pagolin Pro 1.12";
    QTest::newRow("aoSetTitle, no version") << true << ""
                                            << "Pagolin Pro ";
  }
  void loadedPutsTheTitleOnTheWindowAndTheApplication() {
    QFETCH(bool, setTitle);
    QFETCH(QString, version);
    QFETCH(QString, caption);
    QWidget form;
    auto* info = new TNVApplication(&form);
    QCOMPARE(info->Title(), QStringLiteral("My Application"));
    info->SetTitle(QStringLiteral("Pagolin Pro"));
    info->SetVersion(version);
    if (setTitle) info->SetOptions(TAppOption::aoSetTitle);
    info->Loaded();
    QCOMPARE(form.windowTitle(), caption);
    QCOMPARE(ApplicationTitle(), QStringLiteral("Pagolin Pro"));
    // Qt would append its display name to every dialog's caption.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
  }

  // The address items themselves are tried through the Help menu (help_test).
  void theMailSubjectIsTitleBlankVersion_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("subject");
    QTest::newRow("version") << "1.12"
                             << "Pagolin Pro 1.12";
    QTest::newRow("empty version") << ""
                                   << "Pagolin Pro ";
  }
  void theMailSubjectIsTitleBlankVersion() {
    QFETCH(QString, version);
    QFETCH(QString, subject);
    test::TUrlRecorder desktop;
    TNVApplication info(nullptr);
    info.SetTitle(QStringLiteral("Pagolin Pro"));
    info.SetVersion(version);
    info.SetEmailAddress(QStringLiteral("help@pagolin.example.org"));
    info.SendEmail();
    const QUrl mail = desktop.TakeLast();
    QCOMPARE(mail.scheme() + QLatin1Char(':') + mail.path(),
             QStringLiteral("mailto:help@pagolin.example.org"));
    QCOMPARE(QUrlQuery(mail).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), subject);
  }

  void anExceptionAtTheEventLoopIsShownAndTheLoopGoesOn_data() {
    QTest::addColumn<bool>("handlerAssigned");
    QTest::addColumn<bool>("throwStd");
    QTest::addColumn<QString>("text");
    QTest::newRow("standard error box") << false << true << "Table is busy";
    QTest::newRow("OnHandleException") << true << true << "Table is busy";
    QTest::newRow("not a std::exception") << false << false << "An unexpected error occurred.";
  }
  void anExceptionAtTheEventLoopIsShownAndTheLoopGoesOn() {
    QFETCH(bool, handlerAssigned);
    QFETCH(bool, throwStd);
    QFETCH(QString, text);
    QStringList shown;
    QStringList handled;
    TMessageHooks errorBox;
    errorBox.showError = [&](const std::string& t, const std::string&) { shown << QString::fromLatin1(t); };
    const TMessageHooks previous = SetMessageHooks(errorBox);
    QWidget form;
    auto* info = new TNVApplication(&form);
    if (handlerAssigned)
      info->OnHandleException = [&](const std::exception& e) { handled << QString::fromLatin1(e.what()); };
    info->Loaded();

    TThrower thrower;
    thrower.throwStd = throwStd;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    bool loopWentOn = false;
    QTimer::singleShot(0, [&] { loopWentOn = true; });
    QVERIFY(QTest::qWaitFor([&] { return loopWentOn; }));
    SetMessageHooks(previous);
    QCOMPARE(handled, handlerAssigned ? QStringList{text} : QStringList());
    QCOMPARE(shown, handlerAssigned ? QStringList() : QStringList{text});
  }
};

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  NVApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "nvapplication_test.moc"
