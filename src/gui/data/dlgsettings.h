// TdlgSettings: the modal settings dialog over the settings in force, which the program owns.
// The controls edit them. Whenever the dialog closes, with OK or Cancel, the controls' values
// become the values in force and SettingsChanged is emitted; OK also writes the settings file.
//
// The passwords of the news server and of the web server are no settings: typed into Edit16 and
// edtPublishPassword, they are kept for the run when the dialog closes, and in the keyring on OK;
// they are shown again from there.
#pragma once

#include <QDialog>

#include <optional>
#include <utility>
#include <vector>

#include "core/data/settings.h"
#include "core/platform/credentials.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace pagolin {

class TBrowseFolder;
class TCredentialStore;
class TNVBFBtn;

// Where the dialog finds and keeps the news server's password (not owned; they outlive the
// dialog; null: none).
struct TPasswordStores {
  TCredentialStore* ThisRun = nullptr;  // the passwords typed during this run
  TCredentialStore* Keyring = nullptr;  // where OK keeps the password
  TCredentialStore* All = nullptr;      // every place a password is looked for
};

class TdlgSettings : public QDialog {
  Q_OBJECT

 public:
  // settings: the settings in force, which outlive the dialog.
  explicit TdlgSettings(TSettings& settings, QWidget* parent = nullptr, TPasswordStores passwords = {});

  const TSettings& Settings() const { return settings_; }

  // Reads the settings file of the settings' site folder into the settings in force and the
  // controls; a file that cannot be read or written is reported by ShowError.
  // Then "Home page" is the active tab, the radio-button rule applies and Edit3 has the focus.
  void LoadSettings();

  // "OK": the controls become the settings in force and are written to the file (a failure
  // is reported by ShowError; the values stay in force for the run), and the dialog closes
  // with the result OK.
  void btnOkClick();
  // Both radio buttons: Edit1 and Button1 enabled exactly with "FTP", Edit2 and NVBFBtn5
  // exactly without it; the focus goes to Edit1 if enabled, else to Edit2.
  void RadioButton1Click();
  // "..." beside Edit1: the folder dialog, preselecting Edit1.
  void Button1Click();
  // The security box: a port that was the usual one of the old choice becomes that of the new.
  void ComboBox5Change();
  // Security "None" with a user name: the warning beside the user name says the password goes
  // out unencrypted.
  void UpdatePlainLoginWarning();
  // "Test connection": connects, upgrades, logs in and says goodbye with the server of the
  // controls, and shows what the server answered (or why it failed). Posts nothing.
  void btnTestConnectionClick();
  // "Test connection" on the tab "Publish": connects to the server as typed, logs in and looks
  // at the folder, and says what it found.
  void btnTestPublishClick();

  // Closing in any way (OK, Cancel, Escape, the window's close box) takes the controls' values.
  void done(int result) override;

 signals:
  // The values in force changed (the dialog closed); captions that show them follow.
  void SettingsChanged();

 public:
  QTabWidget* PageControl1 = nullptr;
  QWidget* tbsWWWHomePage = nullptr;
  QWidget* tbsLanguages = nullptr;
  QWidget* tbsNews = nullptr;
  QWidget* tbsIdentification = nullptr;
  QWidget* tbsPublish = nullptr;
  QTabWidget* PageControl2 = nullptr;
  QWidget* tbsNews1 = nullptr;
  QWidget* tbsNews2 = nullptr;

  QRadioButton* RadioButton1 = nullptr;  // "FTP"
  QRadioButton* RadioButton2 = nullptr;  // "single archive file"
  QLineEdit* Edit1 = nullptr;            // output folder (FTP)
  QPushButton* Button1 = nullptr;
  QLineEdit* Edit2 = nullptr;  // upload archive
  TNVBFBtn* NVBFBtn5 = nullptr;
  QLineEdit* Edit3 = nullptr;  // home page file name
  TNVBFBtn* NVBFBtn4 = nullptr;
  QLineEdit* Edit13 = nullptr;     // site address
  QLineEdit* Edit4 = nullptr;      // news server
  QSpinBox* SpinEdit1 = nullptr;   // news server port
  QComboBox* ComboBox5 = nullptr;  // security: None, STARTTLS, TLS
  QLineEdit* Edit14 = nullptr;     // user name of the login
  QLabel* lblPlainLogin = nullptr;  // the warning beside it (security "None")
  QLineEdit* Edit16 = nullptr;     // password of the login (hidden; no setting)
  QLineEdit* Edit15 = nullptr;     // CA file
  TNVBFBtn* NVBFBtn6 = nullptr;
  QPushButton* btnTestConnection = nullptr;
  QLineEdit* Edit5 = nullptr;       // default newsgroups, language 1
  QLineEdit* Edit6 = nullptr;       // default newsgroups, language 2
  QPlainTextEdit* Memo1 = nullptr;  // signature, language 1
  QPlainTextEdit* Memo2 = nullptr;  // signature, language 2
  QLineEdit* Edit7 = nullptr;       // name
  QLineEdit* Edit8 = nullptr;       // e-mail address
  QLineEdit* Edit9 = nullptr;       // reply address
  QLineEdit* Edit10 = nullptr;      // organization
  QLineEdit* Edit11 = nullptr;      // language 1
  QLineEdit* Edit12 = nullptr;      // language 2
  QComboBox* ComboBox1 = nullptr;   // date format, language 1
  QComboBox* ComboBox2 = nullptr;   // date format, language 2
  QComboBox* ComboBox3 = nullptr;   // date and time format, language 1
  QComboBox* ComboBox4 = nullptr;   // date and time format, language 2
  QLineEdit* edtPublishURL = nullptr;
  QLineEdit* edtPublishUser = nullptr;
  QLineEdit* edtPublishPassword = nullptr;  // password of the web server's login (hidden; no setting)
  QCheckBox* cbxDeleteRemoved = nullptr;
  QPushButton* btnTestPublish = nullptr;
  QPushButton* btnOk = nullptr;
  QPushButton* btnCancel = nullptr;
  TBrowseFolder* BrowseFolder1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* CreateHomePageTab();
  QWidget* CreateLanguagesTab();
  QWidget* CreateNewsTab();
  QWidget* CreateIdentificationTab();
  QWidget* CreatePublishTab();  // in dlgsettings_publish.cpp
  QWidget* CreateNewsLanguageTab(const char* name, QLineEdit*& edit, const char* editName,
                                 QPlainTextEdit*& memo, const char* memoName);

  void ToControls();
  void FromControls();
  // The values the controls hold, written into settings.
  void FromControls(TSettings& into) const;
  // The password fields (Edit16 of the news server, edtPublishPassword of the web server), each
  // with the key of its login in the settings in force; none while the login is incomplete.
  std::vector<std::pair<QLineEdit*, std::optional<TCredentialKey>>> PasswordFields() const;
  // Fills each empty password field from the run's or the keyring's password.
  void ShowKeptPasswords();
  // Each field's password for the run; on OK also for the keyring, when it was changed.
  void KeepPasswords(bool lasting);
  // Focus now when the dialog is up, else when it is next shown.
  void FocusControl(QWidget* control);

  TSettings& settings_;
  TPasswordStores passwords_;
  QWidget* focusOnShow_ = nullptr;
  std::string securityShown_;  // the security choice ComboBox5Change started from
};

}  // namespace pagolin
