// The settings dialog inside the real program, offscreen: the first start, typing and OK or
// Cancel, the file written and the values in force, the radio-button rule and the folder dialog.
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <cstdlib>

#include "core/platform/filenames.h"
#include "core/platform/hooks.h"
#include "core/platform/inifile.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/nvbfbtn.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgsettings.h"
#include "support/modalhelper.h"

using namespace pagolin;
using pagolin::test::Screenshot;
using pagolin::test::WhenModalNamed;

namespace {

QString TabText(QTabWidget* tabs, QWidget* page) { return tabs->tabText(tabs->indexOf(page)); }

// Types text key by key; characters beyond ASCII arrive as typed text without a key code.
void TypeInto(QWidget* w, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 128)
      QTest::keyClick(w, c.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

void Retype(QLineEdit* edit, const QString& text) {
  edit->clear();
  TypeInto(edit, text);
}

// A radio button reacts to clicks on its circle and caption only.
void ClickRadio(QRadioButton* radio) {
  QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier, QPoint(8, radio->height() / 2));
}

}  // namespace

// Records what the program asks the desktop to open.
class TUrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls << url; }
};

class DlgSettingsTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::string site_;  // with its trailing delimiter
  std::string ini_;
  std::vector<std::string> errors_;
  std::string details_;  // of the last error
  TForm1* form_ = nullptr;
  TdlgSettings* dlg_ = nullptr;
  std::unique_ptr<TProgram> program_;

  std::string FileText() const {
    std::string s, e;
    ReadWholeFile(ini_, s, e);
    return s;
  }
  // Opens "Settings..." from the tool bar and runs fn on the dialog while it is up.
  void WithDialog(const std::function<void()>& fn) {
    // Once the dialog is the active window, so that the focus it is given stays there.
    WhenModalNamed(QStringLiteral("dlgSettings"), [fn](QWidget* w) {
      QVERIFY(QTest::qWaitForWindowActive(w));
      fn();
    });
    QTest::mouseClick(form_->ToolButton3, Qt::LeftButton);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    const std::string site = FromQ(dir_.path()) + "/site";
    QCOMPARE(std::system((std::string(PAGOLIN_NEWSITE) + " " + site + " --sample >/dev/null").c_str()), 0);
    site_ = IncludeTrailingPathDelimiter(site);
    ini_ = site_ + "pagolin.ini";
    TMessageHooks hooks;
    hooks.showError = [this](const std::string& text, const std::string& details) {
      errors_.push_back(text);
      details_ = details;
    };
    hooks.showMessage = [this](const std::string& text) { errors_.push_back(text); };
    SetMessageHooks(hooks);
    program_ = std::make_unique<TProgram>(site_);
    form_ = &program_->Form1();
    dlg_ = &program_->dlgSettings();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
  }

  void cleanupTestCase() { program_.reset(); }

  void firstStartWritesOnlyTheOutputFolderAndSetsTheCaptions() {
    const std::string folder = ExcludeTrailingPathDelimiter(site_);
    QCOMPARE(FileText(), "[Settings]\r\nFTPUploadFile=" + folder + "\r\n");
    QVERIFY(dlg_->RadioButton2->isChecked());
    QCOMPARE(dlg_->Edit1->text(), ToQ(folder));
    QCOMPARE(dlg_->Edit2->text(), ToQ(site_ + "upload.zip"));
    QCOMPARE(dlg_->Edit3->text(), QStringLiteral("index.htm"));
    QCOMPARE(dlg_->ComboBox2->currentText(), QStringLiteral("dddddd"));
    QCOMPARE(dlg_->Settings().HomePagePath(), site_ + "index.htm");
    QVERIFY(!dlg_->Edit1->isEnabled());
    QVERIFY(dlg_->Edit2->isEnabled());
    QVERIFY(form_->btnOpenUploadArchive->isEnabled());
    QCOMPARE(TabText(dlg_->PageControl2, dlg_->tbsNews1), QStringLiteral("English"));
    QCOMPARE(TabText(dlg_->PageControl2, dlg_->tbsNews2), QStringLiteral("Deutsch"));
    // The company name is the sample site's COMPANY variable.
    auto* products = form_->findChild<QWidget*>(QStringLiteral("tbsProducts"));
    const QString caption = TabText(form_->pgcMain, products);
    QVERIFY2(caption.endsWith(QStringLiteral(" Products ")) && caption.size() > 10, qPrintable(caption));
    QVERIFY(errors_.empty());
  }

  void settingsOpensOnTheHomePageTabWithTheFileNameFocused() {
    dlg_->PageControl1->setCurrentWidget(dlg_->tbsNews);
    bool checked = false;
    WithDialog([&] {
      QCOMPARE(dlg_->PageControl1->currentWidget(), dlg_->tbsWWWHomePage);
      QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg_->Edit3));
      checked = true;
    });
    QVERIFY(checked);
  }

  void radioButtonsSwitchFieldsAndFocus() {
    WithDialog([&] {
      ClickRadio(dlg_->RadioButton1);
      QVERIFY(dlg_->Edit1->isEnabled() && dlg_->Button1->isEnabled());
      QVERIFY(!dlg_->Edit2->isEnabled() && !dlg_->NVBFBtn5->isEnabled());
      QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg_->Edit1));
      ClickRadio(dlg_->RadioButton2);
      QVERIFY(!dlg_->Edit1->isEnabled() && !dlg_->Button1->isEnabled());
      QVERIFY(dlg_->Edit2->isEnabled() && dlg_->NVBFBtn5->isEnabled());
      QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg_->Edit2));
      QTest::mouseClick(dlg_->btnCancel, Qt::LeftButton);
    });
    QVERIFY(!dlg_->Settings().IsFTPUpload());
  }

  void okWritesEveryKeyAndTheCaptionsFollowAtOnce() {
    WithDialog([&] {
      Retype(dlg_->Edit2, QString());
      QVERIFY(dlg_->tbsWWWHomePage->isAncestorOf(dlg_->Edit13));
      Retype(dlg_->Edit13, QStringLiteral("https://www.example.org/"));
      dlg_->PageControl1->setCurrentWidget(dlg_->tbsLanguages);
      Retype(dlg_->Edit11, QStringLiteral("Fran\u00e7ais"));
      Retype(dlg_->Edit12, QStringLiteral("Italiano"));
      dlg_->ComboBox1->setCurrentIndex(1);
      dlg_->PageControl1->setCurrentWidget(dlg_->tbsNews);
      Retype(dlg_->Edit4, QStringLiteral("news.example.org"));
      dlg_->Memo1->setFocus();
      TypeInto(dlg_->Memo1, QStringLiteral("-- "));
      QTest::keyClick(dlg_->Memo1, Qt::Key_Return);
      TypeInto(dlg_->Memo1, QStringLiteral("Jo"));
      dlg_->PageControl1->setCurrentWidget(dlg_->tbsIdentification);
      Retype(dlg_->Edit8, QStringLiteral("jo@example.org"));
      QTest::mouseClick(dlg_->btnOk, Qt::LeftButton);
    });
    QVERIFY(!dlg_->isVisible());
    const TIniFile ini(ini_);
    QCOMPARE(ini.ReadString("Settings", "ZIPUploadFile", "x"), std::string());
    QCOMPARE(ini.ReadString("Settings", "SiteURL", ""), std::string("https://www.example.org/"));
    QCOMPARE(ini.ReadString("Languages", "Language1", ""), std::string("Français"));
    QCOMPARE(ini.ReadString("Languages", "DateFormat1", ""), std::string("dddddd"));
    QCOMPARE(ini.ReadString("News", "Server", ""), std::string("news.example.org"));
    QCOMPARE(ini.ReadInteger("News", "SignatureLines1", 0), 2);
    QCOMPARE(ini.ReadString("News", "Signature1_2", ""), std::string("Jo"));
    QCOMPARE(ini.ReadString("Identification", "EMailAddress", ""), std::string("jo@example.org"));
    // The code page holds every character: the file stays in it, as files have always been.
    QVERIFY(FileText().find("[Languages]\r\nLanguage1=Fran\xE7"
                            "ais\r\n") != std::string::npos);
    // In force at once, and the captions follow.
    QCOMPARE(dlg_->Settings().Signature1, (std::vector<std::string>{"-- ", "Jo"}));
    QCOMPARE(dlg_->Settings().HomePagePath(), site_ + "index.htm");  // no archive: the site folder
    QCOMPARE(dlg_->Settings().OutputFolder(), site_);
    QCOMPARE(TabText(dlg_->PageControl2, dlg_->tbsNews1), QStringLiteral("Fran\u00e7ais"));
    QCOMPARE(TabText(dlg_->PageControl2, dlg_->tbsNews2), QStringLiteral("Italiano"));
    QVERIFY(!form_->btnOpenUploadArchive->isEnabled());

    WithDialog([&] {
      Retype(dlg_->Edit2, QStringLiteral("   "));  // blanks only: still no archive
      QTest::mouseClick(dlg_->btnOk, Qt::LeftButton);
    });
    QVERIFY(!form_->btnOpenUploadArchive->isEnabled());
    WithDialog([&] {
      Retype(dlg_->Edit2, ToQ(site_ + "upload.zip"));
      QTest::mouseClick(dlg_->btnOk, Qt::LeftButton);
    });
    QVERIFY(form_->btnOpenUploadArchive->isEnabled());
    QVERIFY(errors_.empty());
  }

  void cancelKeepsTheTypedValuesInForceButNotInTheFile() {
    const std::string before = FileText();
    WhenModalNamed(QStringLiteral("dlgSettings"), [&](QWidget*) {
      ClickRadio(dlg_->RadioButton1);
      Retype(dlg_->Edit1, QStringLiteral("/x/out/"));
      QTest::mouseClick(dlg_->btnCancel, Qt::LeftButton);
    });
    form_->Settings1->trigger();  // the menu's "Settings..."
    QCOMPARE(FileText(), before);
    QVERIFY(dlg_->Settings().IsFTPUpload());
    QCOMPARE(dlg_->Settings().HomePagePath(), std::string("/x/out//index.htm"));
    QCOMPARE(dlg_->Settings().OutputFolder(), std::string("/x/out//"));

    // Escape closes like Cancel.
    WhenModalNamed(QStringLiteral("dlgSettings"), [&](QWidget* w) {
      Retype(dlg_->Edit7, QStringLiteral("Typed Name"));
      QTest::keyClick(w, Qt::Key_Escape);
    });
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_));
    QTest::keyClick(form_, Qt::Key_S, Qt::ControlModifier);  // Ctrl+S
    QCOMPARE(dlg_->Settings().Name, std::string("Typed Name"));
    QCOMPARE(FileText(), before);
  }

  void storedFormatOutsideTheChoicesShowsNoneAndIsWrittenEmpty() {
    TIniFile ini(ini_);
    ini.WriteString("Languages", "DateFormat1", "dd.mm.yyyy");
    ini.WriteString("Languages", "DateTimeFormat2", "DDDDD T");
    std::string error;
    QVERIFY(ini.UpdateFile(error));
    dlg_->LoadSettings();
    QCOMPARE(dlg_->ComboBox1->currentIndex(), -1);
    QCOMPARE(dlg_->ComboBox1->currentText(), QString());
    QCOMPARE(dlg_->ComboBox4->currentText(), QStringLiteral("ddddd t"));
    QCOMPARE(dlg_->Settings().DateFormat(1), std::optional<std::string>(""));
    WithDialog([&] { QTest::mouseClick(dlg_->btnOk, Qt::LeftButton); });
    QCOMPARE(TIniFile(ini_).ReadString("Languages", "DateFormat1", "x"), std::string());
    QCOMPARE(TIniFile(ini_).ReadString("Languages", "DateTimeFormat2", "x"), std::string("ddddd t"));
  }

  // Signature lines, empty ones at the end included, survive the dialog whichever way it closes.
  void signatureKeepsItsEmptyLastLineThroughOpeningsOfTheDialog() {
    TIniFile ini(ini_);
    ini.WriteInteger("News", "SignatureLines1", 3);
    ini.WriteString("News", "Signature1_1", "--");
    ini.WriteString("News", "Signature1_2", "Jo");
    ini.WriteString("News", "Signature1_3", "");
    std::string error;
    QVERIFY(ini.UpdateFile(error));
    dlg_->LoadSettings();
    const std::vector<std::string> lines{"--", "Jo", ""};
    QCOMPARE(dlg_->Settings().Signature1, lines);
    WithDialog([&] { QTest::mouseClick(dlg_->btnCancel, Qt::LeftButton); });
    WithDialog([&] { QTest::keyClick(dlg_, Qt::Key_Escape); });
    WithDialog([&] { QTest::mouseClick(dlg_->btnOk, Qt::LeftButton); });
    QCOMPARE(dlg_->Settings().Signature1, lines);
    QCOMPARE(TIniFile(ini_).ReadInteger("News", "SignatureLines1", 0), 3);
  }

  void fileThatCannotBeWrittenIsReportedAndValuesStayInForce() {
    const std::string saved = FileText();
    QVERIFY(QFile::remove(ToQ(ini_)));
    QVERIFY(QDir().mkdir(ToQ(ini_)));  // a folder where the file belongs: unreadable, unwritable
    errors_.clear();
    WithDialog([&] {
      Retype(dlg_->Edit10, QStringLiteral("Org Inc"));
      QTest::mouseClick(dlg_->btnOk, Qt::LeftButton);
    });
    QCOMPARE(errors_.size(), size_t(1));
    QVERIFY2(errors_[0].find("could not be saved") != std::string::npos, errors_[0].c_str());
    QCOMPARE(dlg_->Settings().Organization, std::string("Org Inc"));
    QVERIFY(QDir().rmdir(ToQ(ini_)));
    std::string error;
    QVERIFY(WriteFileAtomically(ini_, saved, error));
    errors_.clear();
  }

  void fileButtonsWriteTheChosenFile() {
    const QString html = dir_.path() + QStringLiteral("/pages/home.html");
    QVERIFY(QDir().mkpath(dir_.path() + QStringLiteral("/pages")));
    QFile f(html);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    WithDialog([&] {
      ClickRadio(dlg_->RadioButton2);
      auto choose = [&](TNVBFBtn* button, const QStringList& filters) {
        WhenModalNamed(button->OpenDialog()->objectName(), [&](QWidget* w) {
          auto* fd = static_cast<QFileDialog*>(w);
          QCOMPARE(fd->nameFilters(), filters);
          fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(html);
          QTRY_COMPARE(fd->selectedFiles(), QStringList(html));
          QMetaObject::invokeMethod(fd, "accept");
        });
        QTest::mouseClick(button, Qt::LeftButton);
      };
      choose(dlg_->NVBFBtn4, DialogNameFilters("HTML files (*.htm, *.html)|*.htm;*.html|All files|*.*"));
      QCOMPARE(dlg_->Edit3->text(), QStringLiteral("home.html"));  // the name only
      choose(dlg_->NVBFBtn5, DialogNameFilters("ZIP archive (*.ZIP)|*.zip|All files (*.*)|*.*"));
      QCOMPARE(dlg_->Edit2->text(), html);  // folder and name
      QTest::mouseClick(dlg_->btnCancel, Qt::LeftButton);
    });
    QCOMPARE(dlg_->Settings().WWWHomepageFile, std::string("home.html"));
  }

  // The home page's "..." starts where the home page lies, shows every file under "All files"
  // and takes the name of a page that does not exist yet.
  void homePageDialogStartsInTheOutputFolderAndTakesANewName() {
    WithDialog([&] {
      ClickRadio(dlg_->RadioButton2);
      Retype(dlg_->Edit2, ToQ(site_ + "upload.zip"));
      Retype(dlg_->Edit3, QStringLiteral("index.htm"));
      QString startedIn, allFiles;
      WhenModalNamed(QStringLiteral("OpenDialog1"), [&](QWidget* w) {
        auto* fd = static_cast<QFileDialog*>(w);
        startedIn = fd->directory().absolutePath();
        allFiles = fd->nameFilters().last();
        fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("brandnew.htm"));
        QMetaObject::invokeMethod(fd, "accept");
      });
      QTest::mouseClick(dlg_->NVBFBtn4, Qt::LeftButton);
      QCOMPARE(startedIn, ToQ(ExcludeTrailingPathDelimiter(site_)));
      QVERIFY2(allFiles.endsWith(QStringLiteral("(*)")), qPrintable(allFiles));
      QCOMPARE(dlg_->Edit3->text(), QStringLiteral("brandnew.htm"));
      QTest::mouseClick(dlg_->btnCancel, Qt::LeftButton);
    });
    WithDialog([&] {
      Retype(dlg_->Edit3, QStringLiteral("index.htm"));
      QTest::mouseClick(dlg_->btnCancel, Qt::LeftButton);
    });
  }

  // Tab from the home page's "..." lands on the selected upload method; an arrow key moves to the
  // other one and selects it.
  void tabEntersTheRadioGroupOnItsSelectedButton() {
    WithDialog([&] {
      ClickRadio(dlg_->RadioButton2);
      dlg_->NVBFBtn4->setFocus();
      QTest::keyClick(dlg_->NVBFBtn4, Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg_->RadioButton2));
      QTest::keyClick(dlg_->RadioButton2, Qt::Key_Up);
      QVERIFY(dlg_->RadioButton1->isChecked());
      dlg_->NVBFBtn4->setFocus();
      QTest::keyClick(dlg_->NVBFBtn4, Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg_->RadioButton1));
      ClickRadio(dlg_->RadioButton2);
      QTest::mouseClick(dlg_->btnCancel, Qt::LeftButton);
    });
  }

  void folderButtonBrowsesFromTheOutputFolder() {
    const QString start = dir_.path() + QStringLiteral("/upload/aaaaaaaaaaaa/bbbbbbbbbbbbbbb");
    const QString other = dir_.path() + QStringLiteral("/upload");
    QVERIFY(QDir().mkpath(start));
    WithDialog([&] {
      ClickRadio(dlg_->RadioButton1);
      Retype(dlg_->Edit1, start);
      WhenModalNamed(QStringLiteral("dlgBrowseFolder"), [&](QWidget* w) {
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
                 QStringLiteral("Please select the FTP upload folder"));
        const QString status = w->findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
        QVERIFY2(status.size() <= 35 && status.endsWith(QStringLiteral("/bbbbbbbbbbbbbbb")),
                 qPrintable(status));
        Screenshot(w, QStringLiteral("settings-browsefolder"));
        auto* tree = w->findChild<QTreeView*>(QStringLiteral("tvFolders"));
        tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(other));
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
      });
      QTest::mouseClick(dlg_->Button1, Qt::LeftButton);
      QCOMPARE(dlg_->Edit1->text(), other);
      QTest::mouseClick(dlg_->btnOk, Qt::LeftButton);
    });
    QCOMPARE(TIniFile(ini_).ReadString("Settings", "FTPUploadFile", ""), FromQ(other));
    QCOMPARE(dlg_->Settings().OutputFolder(), FromQ(other) + "/");
  }

  void shellCommandsOpenTheHomePageTheFolderAndTheArchive() {
    TUrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    WithDialog([&] {
      ClickRadio(dlg_->RadioButton2);
      Retype(dlg_->Edit2, QStringLiteral("/srv/arc/upload.zip"));  // typed while it is enabled
      ClickRadio(dlg_->RadioButton1);
      Retype(dlg_->Edit1, QStringLiteral("/srv/out"));
      Retype(dlg_->Edit3, QStringLiteral("index.htm"));
      QTest::mouseClick(dlg_->btnCancel, Qt::LeftButton);  // in force for the run all the same
    });
    QVERIFY(form_->btnOpenUploadArchive->isEnabled());
    form_->ToolButton2->click();
    form_->Button1->click();
    form_->btnOpenUploadArchive->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(recorder.urls, QList<QUrl>({QUrl::fromLocalFile(QStringLiteral("/srv/out/index.htm")),
                                         QUrl::fromLocalFile(QStringLiteral("/srv/out/")),
                                         QUrl::fromLocalFile(QStringLiteral("/srv/arc/upload.zip"))}));
  }

  // A port that is the usual one of the old security becomes the usual one of the new; a port
  // of the user's own stays.
  void securityChoiceMovesAUsualPortOnly() {
    const struct {
      int port;
      int choice;  // None, STARTTLS, TLS
      int after;
    } steps[] = {{119, 2, 563}, {563, 1, 119}, {119, 0, 119}, {8119, 2, 8119}, {8119, 0, 8119}};
    WithDialog([&] {
      dlg_->PageControl1->setCurrentWidget(dlg_->tbsNews);
      for (const auto& step : steps) {
        dlg_->SpinEdit1->setValue(step.port);
        dlg_->ComboBox5->setCurrentIndex(step.choice);
        emit dlg_->ComboBox5->activated(step.choice);
        QCOMPARE(dlg_->SpinEdit1->value(), step.after);
      }
      QTest::mouseClick(dlg_->btnCancel, Qt::LeftButton);
    });
    QCOMPARE(dlg_->Settings().Port, 8119);
    QCOMPARE(dlg_->Settings().Security, std::string("None"));
  }

  // Security "None" with a user name: the warning beside the user name says that the password
  // goes out unencrypted; another security or no user name takes it away.
  void aLoginWithoutEncryptionIsWarnedAboutBesideTheUserName() {
    const struct {
      int choice;  // None, STARTTLS, TLS
      const char* user;
      bool warned;
    } steps[] = {{0, "jo", true}, {2, "jo", false}, {1, "jo", false}, {0, "jo", true}, {0, "", false}};
    WithDialog([&] {
      dlg_->PageControl1->setCurrentWidget(dlg_->tbsNews);
      for (const auto& step : steps) {
        dlg_->ComboBox5->setCurrentIndex(step.choice);
        Retype(dlg_->Edit14, QString::fromLatin1(step.user));
        QCOMPARE(dlg_->lblPlainLogin->isVisible(), step.warned);
        if (step.warned) {
          QVERIFY(dlg_->lblPlainLogin->text().contains(QStringLiteral("password is sent unencrypted")));
          Screenshot(dlg_, QStringLiteral("settings-plain-login"));
        }
      }
      QTest::mouseClick(dlg_->btnCancel, Qt::LeftButton);
    });
  }

  // Without a keyring the passwords typed are used for the run, and OK says in one message
  // which of them could not be kept, the keyring's own words only in the details; a password
  // is in no file and no message.
  void withoutAKeyringThePasswordIsKeptForTheRunOnly() {
    errors_.clear();
    WithDialog([&] {
      Retype(dlg_->Edit4, QStringLiteral("news.example.org"));
      Retype(dlg_->Edit14, QStringLiteral("jo"));
      Retype(dlg_->Edit16, QStringLiteral("pw-typed-here"));
      Retype(dlg_->edtPublishURL, QStringLiteral("ftp://www.example.org/site"));
      Retype(dlg_->edtPublishUser, QStringLiteral("web"));
      Retype(dlg_->edtPublishPassword, QStringLiteral("pw-upload"));
      QTest::mouseClick(dlg_->btnOk, Qt::LeftButton);
    });
    QCOMPARE(errors_.size(), std::size_t(1));
    QCOMPARE(errors_[0],
             std::string("No keyring is running; the news server password of jo on news.example.org and "
                         "the upload password of web on www.example.org were not kept. They are used "
                         "until the program ends; for later runs they can be put into ~/.netrc."));
    QVERIFY2(!details_.empty() && details_.find("pw-") == std::string::npos, details_.c_str());
    QVERIFY(errors_[0].find("pw-typed-here") == std::string::npos);
    QVERIFY(FileText().find("pw-typed-here") == std::string::npos);
    QCOMPARE(program_->Passwords().ReadPassword({"news", "news.example.org", "jo"}),
             std::optional<std::string>("pw-typed-here"));
    WithDialog([&] {
      QCOMPARE(dlg_->Edit16->text(), QStringLiteral("pw-typed-here"));
      Retype(dlg_->Edit14, QString());
      QTest::mouseClick(dlg_->btnOk, Qt::LeftButton);
    });
  }

  void renderEachTab() {
    dlg_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg_));
    for (int i = 0; i < dlg_->PageControl1->count(); ++i) {
      dlg_->PageControl1->setCurrentIndex(i);
      QVERIFY(!dlg_->grab().isNull());
      Screenshot(dlg_, QStringLiteral("settings-") + dlg_->PageControl1->widget(i)->objectName());
    }
    dlg_->PageControl1->setCurrentIndex(0);
    dlg_->hide();
  }
};

QTEST_MAIN(DlgSettingsTest)
#include "dlgsettings_test.moc"
