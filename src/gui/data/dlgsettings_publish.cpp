// The settings dialog's tab "Publish": the address of the web server's folder, the user, whether
// files the site no longer lists are deleted there, and "Test connection".
#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/platform/hooks.h"
#include "core/publish/publishsetup.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgsettings.h"

namespace pagolin {

QWidget* TdlgSettings::CreatePublishTab() {
  tbsPublish = new QWidget(PageControl1);
  tbsPublish->setObjectName(QStringLiteral("tbsPublish"));
  auto* page = new QVBoxLayout(tbsPublish);
  auto* group = new QGroupBox(QStringLiteral(" Web server "), tbsPublish);
  group->setObjectName(QStringLiteral("GroupBox7"));
  auto* box = new QVBoxLayout(group);
  auto* form = new QFormLayout;
  edtPublishURL = new QLineEdit(group);
  edtPublishURL->setObjectName(QStringLiteral("edtPublishURL"));
  edtPublishURL->setPlaceholderText(QStringLiteral("sftp://example.com/var/www"));
  edtPublishUser = new QLineEdit(group);
  edtPublishUser->setObjectName(QStringLiteral("edtPublishUser"));
  form->addRow(QStringLiteral("&Folder (URL):"), edtPublishURL);
  edtPublishPassword = new QLineEdit(group);
  edtPublishPassword->setObjectName(QStringLiteral("edtPublishPassword"));
  edtPublishPassword->setEchoMode(QLineEdit::Password);
  form->addRow(QStringLiteral("&User:"), edtPublishUser);
  form->addRow(QStringLiteral("&Password:"), edtPublishPassword);
  box->addLayout(form);
  cbxDeleteRemoved =
      new QCheckBox(QStringLiteral("&Delete files from the server that the site no longer lists"), group);
  cbxDeleteRemoved->setObjectName(QStringLiteral("cbxDeleteRemoved"));
  box->addWidget(cbxDeleteRemoved);
  auto* note =
      new QLabel(QStringLiteral("sftp://, ftps:// (FTP with TLS) or ftp:// (unencrypted). The password "
                                "(or the passphrase of your ssh key) is kept in the keyring, never in the "
                                "settings file; without a window it comes from ~/.netrc. SFTP also logs "
                                "in with your ssh agent and keys."),
                 group);
  note->setObjectName(QStringLiteral("Label5"));
  note->setWordWrap(true);
  box->addWidget(note);
  btnTestPublish = new QPushButton(QStringLiteral("Test co&nnection"), group);
  btnTestPublish->setObjectName(QStringLiteral("btnTestPublish"));
  btnTestPublish->setAutoDefault(false);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(btnTestPublish);
  box->addLayout(row);
  page->addWidget(group);
  page->addStretch(1);
  connect(btnTestPublish, &QPushButton::clicked, this, &TdlgSettings::btnTestPublishClick);
  return tbsPublish;
}

void TdlgSettings::btnTestPublishClick() {
  TSettings typed = settings_;
  FromControls(typed);
  btnTestPublish->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TConnectionCheck check;
  try {
    const TPublishTarget target = PublishTarget(typed);
    std::string password = edtPublishPassword->text().toStdString();  // UTF-8, as a server takes it
    if (password.empty()) password = PublishPassword(target, passwords_.All);
    TCurlFolder folder(target.Url, PublishConnection(target, password, true));
    check = TestPublishConnection(folder, target);
  } catch (const EPublishError& e) {
    check = {false, e.what()};
  } catch (const ECredentialError& e) {
    check = {false, e.what()};
  }
  QApplication::restoreOverrideCursor();
  btnTestPublish->setEnabled(true);
  if (check.Succeeded)
    ShowMessage(check.Text);
  else
    ShowError(check.Text);
}

}  // namespace pagolin
