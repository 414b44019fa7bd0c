// The news server's login in the running program, offscreen, with a keyring of its own (run by
// tests/support/with-keyring) and the login server of tests/integration/start-servers: the
// password typed in the settings goes to the keyring and never into the settings file, a
// later run finds it there and posts with it, "Test connection" shows the server's answers,
// and no message ever shows the password.
#include <QtTest>

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/platform/hooks.h"
#include "core/platform/inifile.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/keychainstore.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgsettings.h"
#include "support/modalhelper.h"
#include "support/news_reader.h"
#include "support/news_servers.h"

using namespace pagolin;

class NewsLoginGuiTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::unique_ptr<TProgram> program_;
  QStringList shown_;  // every message and error, with its details
  const TCredentialKey key_{"news", test::kLoginServer, test::kLoginUser};

  std::string Site() const { return FromQ(dir_.path()) + "/"; }
  // A new run of the program on the site: nothing typed yet.
  void StartProgram() {
    program_.reset();
    program_ = std::make_unique<TProgram>(Site());
    program_->dlgSettings().LoadSettings();
  }
  // Opens "Settings..." and runs fn while the dialog is up.
  void WithDialog(const std::function<void(TdlgSettings*)>& fn) {
    TdlgSettings* dlg = &program_->dlgSettings();
    test::WhenModalNamed(QStringLiteral("dlgSettings"), [fn, dlg](QWidget*) { fn(dlg); });
    QTest::mouseClick(program_->Form1().ToolButton3, Qt::LeftButton);
  }
  static void Retype(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  void AddPosting(const std::string& subject) {
    TTable& t = program_->DataModule2().tblNewsPost;
    t.Insert();
    t.FieldByName("Subject").SetAsString(subject);
    t.FieldByName("Body").SetAsString("posted with the password from the keyring");
    t.FieldByName("Newsgroups").SetAsString("local.test");
    t.FieldByName("Send").SetAsBoolean(true);
    t.Post();
  }

 private slots:
  void initTestCase() {
    QVERIFY2(qEnvironmentVariableIsSet("PAGOLIN_KEYRING_SESSION"), "run through tests/support/with-keyring");
    test::TNewsReader probe;
    QVERIFY2(probe.Ready(), test::kServerMissing);
    QVERIFY(dir_.isValid());
    QProcess tool;
    tool.start(QStringLiteral(PAGOLIN_NEWSITE), {dir_.path()});
    QVERIFY(tool.waitForFinished(30000) && tool.exitCode() == 0);
    TMessageHooks hooks;
    hooks.showMessage = [this](const std::string& text) { shown_ << ToQ(text); };
    hooks.showError = [this](const std::string& text, const std::string& details) {
      shown_ << ToQ(text + "\n" + details);
    };
    hooks.messageDlg = [](const std::string&, TMsgDlgType, TMsgDlgButtons) { return TModalResult::mrYes; };
    SetMessageHooks(hooks);
    StartProgram();
  }
  void cleanupTestCase() {
    program_.reset();
    for (const QString& text : std::as_const(shown_))
      QVERIFY2(!text.contains(QLatin1String(test::kLoginPassword)), qPrintable(text));
  }

  void theKeyringKeepsReplacesAndForgetsAPassword() {
    TKeychainStore keyring(QStringLiteral("pagolin-test"));
    const TCredentialKey key{"upload", "ftp.example.test", "jo"};
    QCOMPARE(keyring.ReadPassword(key), std::nullopt);
    keyring.WritePassword(key, "first \xC3\xA4");  // UTF-8, as typed
    keyring.WritePassword(key, "second");
    QCOMPARE(keyring.ReadPassword(key), std::optional<std::string>("second"));
    QCOMPARE(keyring.ReadPassword({"news", "ftp.example.test", "jo"}), std::nullopt);
    keyring.DeletePassword(key);
    keyring.DeletePassword(key);  // gone already: no error
    QCOMPARE(keyring.ReadPassword(key), std::nullopt);
  }

  void thePasswordTypedGoesToTheKeyringNotTheSettingsFile() {
    WithDialog([&](TdlgSettings* dlg) {
      dlg->PageControl1->setCurrentWidget(dlg->tbsNews);
      Retype(dlg->Edit4, QString::fromLatin1(test::kLoginServer));
      dlg->ComboBox5->setFocus();
      QTest::keyClick(dlg->ComboBox5, Qt::Key_Down);  // None -> STARTTLS
      QTest::keyClick(dlg->ComboBox5, Qt::Key_Down);  // -> TLS, and the port follows
      QCOMPARE(dlg->ComboBox5->currentText(), QStringLiteral("TLS"));
      QCOMPARE(dlg->SpinEdit1->value(), 563);
      Retype(dlg->Edit14, QString::fromLatin1(test::kLoginUser));
      Retype(dlg->Edit16, QString::fromLatin1(test::kLoginPassword));
      QCOMPARE(dlg->Edit16->echoMode(), QLineEdit::Password);
      Retype(dlg->Edit15, QString::fromLatin1(test::kTestCAFile));
      test::Screenshot(dlg, QStringLiteral("settings-news-login"));
      dlg->PageControl1->setCurrentWidget(dlg->tbsIdentification);
      Retype(dlg->Edit8, QStringLiteral("pagolin@example.test"));
      QTest::mouseClick(dlg->btnOk, Qt::LeftButton);
    });
    QVERIFY2(shown_.isEmpty(), qPrintable(shown_.join(QLatin1Char('|'))));
    const TIniFile ini(Site() + "pagolin.ini");
    QCOMPARE(ini.ReadString("News", "Security", ""), std::string("TLS"));
    QCOMPARE(ini.ReadInteger("News", "Port", 0), 563);
    QCOMPARE(ini.ReadString("News", "User", ""), std::string(test::kLoginUser));
    QVERIFY(ini.Text().find(test::kLoginPassword) == std::string::npos);
    TKeychainStore keyring(QStringLiteral("pagolin"));
    QCOMPARE(keyring.ReadPassword(key_), std::optional<std::string>(test::kLoginPassword));
  }

  void testConnectionShowsTheAnswersOrWhyItFailed() {
    WithDialog([&](TdlgSettings* dlg) {
      QTest::mouseClick(dlg->btnTestConnection, Qt::LeftButton);
      Retype(dlg->Edit16, QStringLiteral("not-the-password"));
      QTest::mouseClick(dlg->btnTestConnection, Qt::LeftButton);
      Retype(dlg->Edit16, QString::fromLatin1(test::kLoginPassword));
      QTest::mouseClick(dlg->btnCancel, Qt::LeftButton);
    });
    QCOMPARE(shown_.size(), 2);
    QVERIFY2(shown_[0].startsWith(QStringLiteral("The connection to 127.0.0.2 works.")),
             qPrintable(shown_[0]));
    QVERIFY2(shown_[0].contains(QStringLiteral("> AUTHINFO PASS ********\n< 281 ")), qPrintable(shown_[0]));
    QVERIFY2(shown_[0].contains(QStringLiteral("the certificate is trusted and names 127.0.0.2")),
             qPrintable(shown_[0]));
    QVERIFY2(shown_[0].endsWith(QStringLiteral("The news server accepts postings.\n")),
             qPrintable(shown_[0]));
    QVERIFY2(
        shown_[1].startsWith(QStringLiteral("The connection to 127.0.0.2 failed: Login refused by the news "
                                            "server (481 Authentication failed)")),
        qPrintable(shown_[1]));
    shown_.clear();
  }

  void aLaterRunPostsWithThePasswordFromTheKeyringAndShowsIt() {
    StartProgram();
    const std::string subject = "Keyring login " + test::UniqueToken();
    AddPosting(subject);
    program_->Form1().ToolButton7->click();
    QVERIFY2(shown_.isEmpty(), qPrintable(shown_.join(QLatin1Char('|'))));
    test::TNewsReader reader;
    const auto stored = test::SplitArticle(reader.ArticleBySubject("local.test", "Subject: " + subject));
    QCOMPARE(stored.body, std::vector<std::string>{"posted with the password from the keyring"});
    WithDialog([&](TdlgSettings* dlg) {
      QCOMPARE(dlg->Edit16->text(), QString::fromLatin1(test::kLoginPassword));
      QTest::mouseClick(dlg->btnCancel, Qt::LeftButton);
    });
  }
};

QTEST_MAIN(NewsLoginGuiTest)
#include "news_login_gui_test.moc"
