// "Publish" in the program's main window, offscreen, to the SFTP server on loopback: the
// progress dialog, Cancel, the publish state of each file on the tab "Upload files", and the
// settings tab's "Test connection".
#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <memory>

#include "core/data/settings.h"
#include "core/platform/hooks.h"
#include "gui/app/dlgpublish.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/app/uploadstatedelegate.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgsettings.h"
#include "gui/pages/dlgprogress.h"
#include "support/modalhelper.h"
#include "support/testsite.h"

using namespace pagolin;

namespace {

const QString kState = QStringLiteral("/var/lib/pagolin-file-servers/");
const QString kUser = QStringLiteral("pagolin-publish");

// A folder of the test user's own on the server, made empty, removed at the end.
struct TServerFolder {
  QString path =
      QStringLiteral("/home/pagolin-publish/gui-") + QString::number(QCoreApplication::applicationPid());
  TServerFolder() {
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    QProcess::execute(QStringLiteral("chown"), {kUser + QLatin1Char(':') + kUser, path});
  }
  ~TServerFolder() { QDir(path).removeRecursively(); }
  QString Url() const { return QStringLiteral("sftp://127.0.0.1:2222/~/") + QFileInfo(path).fileName(); }
  QStringList Names() const { return QDir(path).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

}  // namespace

class PublishGuiTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString site_;
  std::unique_ptr<TServerFolder> server_;
  std::unique_ptr<TProgram> program_;
  QStringList messages_;  // every message and question, in order
  QString details_;       // of the last error

  TForm1& Form() { return program_->Form1(); }
  // Builds the pages as F9 does, the dialog started at once.
  void Build() {
    test::WhenModalNamed(QStringLiteral("dlgProgress"),
                         [](QWidget* w) { static_cast<TdlgProgress*>(w)->btnStartClick(); });
    QTest::mouseClick(Form().ToolButton1, Qt::LeftButton);
  }
  // The publish state shown beside each checked file of the upload list.
  QStringList States() {
    QStringList states;
    for (int i = 0; i < Form().CheckListBox1->count(); ++i) {
      const QListWidgetItem* item = Form().CheckListBox1->item(i);
      if (item->checkState() == Qt::Checked)
        states << item->data(TUploadStateDelegate::kPublishStateRole).toString();
    }
    return states;
  }
  QStringList Present() {
    QStringList names;
    for (int i = 0; i < Form().CheckListBox1->count(); ++i)
      if (Form().CheckListBox1->item(i)->checkState() == Qt::Checked)
        names << Form().CheckListBox1->item(i)->text();
    names.sort();
    return names;
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    site_ = dir_.path() + QStringLiteral("/site/");
    QCOMPARE(QProcess::execute(QStringLiteral(PAGOLIN_NEWSITE), {site_, QStringLiteral("--sample")}), 0);
    // A home of the test's own: the test key as the user's key, the server's key as known.
    const QString ssh = dir_.path() + QStringLiteral("/home/.ssh/");
    QVERIFY(QDir().mkpath(ssh));
    QVERIFY(QFile::copy(kState + QStringLiteral("client_key"), ssh + QStringLiteral("id_ed25519")));
    QVERIFY(QFile::copy(kState + QStringLiteral("known_hosts"), ssh + QStringLiteral("known_hosts")));
    qputenv("HOME", (dir_.path() + QStringLiteral("/home")).toUtf8());
    qunsetenv("SSH_AUTH_SOCK");
    TMessageHooks hooks;
    hooks.showMessage = [this](const std::string& text) { messages_ << ToQ(text); };
    hooks.showError = [this](const std::string& text, const std::string& details) {
      messages_ << ToQ(text);
      details_ = ToQ(details);
    };
    hooks.messageDlg = [this](const std::string& text, TMsgDlgType, TMsgDlgButtons) {
      messages_ << ToQ(text);
      return TModalResult::mrYes;
    };
    hooks.processMessages = [] { QCoreApplication::processEvents(); };
    SetMessageHooks(std::move(hooks));
  }
  void init() {
    messages_.clear();
    server_ = std::make_unique<TServerFolder>();
    QFile::remove(site_ + QStringLiteral("publish.db"));
    program_ = std::make_unique<TProgram>(FromQ(site_));
    program_->Settings().PublishURL = FromQ(server_->Url());
    program_->Settings().PublishUser = FromQ(kUser);
    Build();
  }
  void cleanup() {
    program_.reset();
    server_.reset();
  }

  void publishSendsEveryFileOnceAndTheListShowsWhatIsPublished() {
    const QStringList present = Present();
    QVERIFY(present.size() > 5);
    QCOMPARE(States(), QStringList(present.size(), QStringLiteral("new")));
    QTest::mouseClick(Form().ToolButton4, Qt::LeftButton);
    QVERIFY2(messages_.last().startsWith(QString::number(present.size()) + QStringLiteral(" files uploaded")),
             qPrintable(messages_.join(QLatin1Char('\n'))));
    QCOMPARE(server_->Names(), present);
    QCOMPARE(States(), QStringList(present.size(), QStringLiteral("published")));
    Form().pgcMain->setCurrentWidget(Form().findChild<QWidget*>(QStringLiteral("tbsUpload")));
    Form().resize(900, 600);
    test::Screenshot(&Form(), QStringLiteral("publish-states"));
    QTest::mouseClick(Form().ToolButton4, Qt::LeftButton);
    QVERIFY2(messages_.last().startsWith(QStringLiteral("Nothing to publish")), qPrintable(messages_.last()));
  }

  void cancelStopsAfterTheFileAtHand() {
    test::WhenModalNamed(QStringLiteral("dlgPublish"), [](QWidget* w) {
      QTest::mouseClick(static_cast<TdlgPublish*>(w)->btnCancel, Qt::LeftButton);
      test::Screenshot(w, QStringLiteral("publish-dialog"));
    });
    Form().Publish1->trigger();
    QVERIFY2(messages_.last().startsWith(QStringLiteral("Cancelled.")), qPrintable(messages_.last()));
    const QStringList states = States();
    QVERIFY(states.contains(QStringLiteral("published")));
    QVERIFY(states.contains(QStringLiteral("new")));
    QCOMPARE(server_->Names().size(), int(states.count(QStringLiteral("published"))));  // nothing half
  }

  // FTP with no password kept and no keyring running: the box says why it stopped, and on a
  // line of its own what was done; the keyring's own words go into the details only.
  void aPublishWithoutAPasswordSaysWhyOnALineOfItsOwn() {
    program_->Settings().PublishURL = "ftp://127.0.0.1:2121/" + FromQ(QFileInfo(server_->path).fileName());
    QTest::mouseClick(Form().ToolButton4, Qt::LeftButton);
    const QStringList lines = messages_.last().split(QLatin1Char('\n'));
    QVERIFY2(lines.size() == 3 && lines[0].startsWith(QStringLiteral("Publishing stopped: No password for user "
                                                                     "pagolin-publish on 127.0.0.1 could be found "
                                                                     "(the keyring: No keyring is running")) &&
                 lines[2].startsWith(QStringLiteral("0 files uploaded")),
             qPrintable(messages_.last()));
    QVERIFY2(details_.contains(QStringLiteral("D-Bus")) && !messages_.last().contains(QStringLiteral("D-Bus")),
             qPrintable(details_));
  }

  // "Test connection" tries what is typed on the tab; a password typed there is the login's
  // for the run (the keyring only takes it on OK).
  void theSettingsTabTestsWhatIsTypedAndATypedPasswordLogsIn() {
    qputenv("SSL_CERT_FILE", (kState + QStringLiteral("ca.pem")).toUtf8());
    TdlgSettings& d = program_->dlgSettings();
    const QString url = QStringLiteral("ftps://127.0.0.1:2121/") + QFileInfo(server_->path).fileName();
    const auto tryConnection = [&](const QString& typedUrl, const QString& password, const QString& answer) {
      d.edtPublishURL->setText(typedUrl);
      d.edtPublishPassword->setText(password);
      QTest::mouseClick(d.btnTestPublish, Qt::LeftButton);
      QVERIFY2(messages_.last().contains(answer), qPrintable(messages_.last()));
    };
    test::WhenModalNamed(QStringLiteral("dlgSettings"), [&](QWidget*) {
      d.edtPublishUser->setText(kUser);
      d.PageControl1->setCurrentWidget(d.tbsPublish);
      test::Screenshot(&d, QStringLiteral("publish-settings"));
      QFile password(kState + QStringLiteral("password"));
      QVERIFY(password.open(QIODevice::ReadOnly));
      const QString right = QString::fromUtf8(password.readAll()).trimmed();
      tryConnection(QStringLiteral("http://127.0.0.1/"), right, QStringLiteral("must begin with sftp://"));
      tryConnection(url, QStringLiteral("not-the-password"), QStringLiteral("refused the login"));
      tryConnection(url, right, QStringLiteral("Connected as pagolin-publish"));
      d.reject();
    });
    Form().ToolButton3Click();
    QCOMPARE(ToQ(program_->Settings().PublishURL), url);
    QTest::mouseClick(Form().ToolButton4, Qt::LeftButton);
    QVERIFY2(
        messages_.last().startsWith(QString::number(Present().size()) + QStringLiteral(" files uploaded")),
        qPrintable(messages_.last()));
    QCOMPARE(server_->Names().join(QLatin1Char(' ')), Present().join(QLatin1Char(' ')));
    qunsetenv("SSL_CERT_FILE");
  }
};

QTEST_MAIN(PublishGuiTest)
#include "publish_gui_test.moc"
