#include "gui/data/dlgsettings.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

#include "core/news/newspost.h"
#include "core/news/newsserver.h"
#include "core/platform/credentials.h"
#include "core/platform/hooks.h"
#include "core/platform/linelist.h"
#include "core/publish/publishsetup.h"
#include "gui/components/browsefolder.h"
#include "gui/components/componenterror.h"
#include "gui/components/nvbfbtn.h"
#include "gui/components/qtext.h"

namespace pagolin {
namespace {

constexpr char kHtmlFilter[] = "HTML files (*.htm, *.html)|*.htm;*.html|All files|*.*";
constexpr char kZipFilter[] = "ZIP archive (*.ZIP)|*.zip|All files (*.*)|*.*";
constexpr char kCertificateFilter[] = "Certificates (*.pem, *.crt)|*.pem;*.crt|All files|*.*";
constexpr int kIndent = 22;  // controls under a radio button line up with its caption

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* Label(const char* caption, QWidget* parent, const char* name = nullptr) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  if (name) label->setObjectName(QString::fromLatin1(name));
  return label;
}

// A label whose underlined letter takes the focus to buddy.
QLabel* Buddy(QLabel* label, QWidget* buddy) {
  label->setBuddy(buddy);
  return label;
}

QGroupBox* Group(const char* caption, QWidget* parent, const char* name) {
  return Named(new QGroupBox(QString::fromLatin1(caption), parent), name);
}

// An edit with its "..." button to the right.
QHBoxLayout* EditWithButton(QLineEdit* edit, QPushButton* button) {
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  const int h = edit->sizeHint().height();
  button->setFixedSize(h + 4, h);
  row->addWidget(edit, 1);
  row->addWidget(button);
  return row;
}

QComboBox* ChoiceBox(QWidget* parent, const char* name, std::span<const std::string_view> choices) {
  auto* box = Named(new QComboBox(parent), name);
  box->setEditable(false);
  for (std::string_view c : choices) box->addItem(ToQ(c));
  return box;
}

void SelectChoice(QComboBox* box, const std::string& value) {
  box->setCurrentIndex(value.empty() ? -1 : box->findText(ToQ(value), Qt::MatchFixedString));
}

std::vector<std::string> MemoLines(const QPlainTextEdit* memo) {
  return TextToLines(FromQ(memo->toPlainText()));
}

// Every line ends with a break, as a memo holds its lines: a final break adds no line when the
// text is read back, so an empty last line survives.
void SetMemoLines(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\n");
  memo->setPlainText(ToQ(text));
}

// The control that edits a key's value; a key without one is a fault of the program.
template <typename T>
T* Control(const QWidget* dialog, const TSettingKey& key) {
  T* control = dialog->findChild<T*>(QString::fromLatin1(key.Control));
  if (!control)
    throw EComponentError(std::string("The settings dialog has no control \"") + key.Control + "\" for " +
                          key.Key);
  return control;
}

}  // namespace

TdlgSettings::TdlgSettings(TSettings& settings, QWidget* parent, TPasswordStores passwords)
    : QDialog(parent), settings_(settings), passwords_(passwords) {
  setObjectName(QStringLiteral("dlgSettings"));
  setWindowTitle(QStringLiteral("Settings"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  auto* layout = new QVBoxLayout(this);
  PageControl1 = Named(new QTabWidget(this), "PageControl1");
  PageControl1->addTab(CreateHomePageTab(), QStringLiteral("Home page"));
  PageControl1->addTab(CreateLanguagesTab(), QStringLiteral("Languages"));
  PageControl1->addTab(CreateNewsTab(), QStringLiteral("News"));
  PageControl1->addTab(CreateIdentificationTab(), QStringLiteral("Identification"));
  PageControl1->addTab(CreatePublishTab(), QStringLiteral("Publish"));
  layout->addWidget(PageControl1, 1);

  auto* buttons = new QHBoxLayout;
  btnOk = Named(new QPushButton(QStringLiteral("OK"), this), "btnOk");
  btnCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "btnCancel");
  btnOk->setDefault(true);
  btnOk->setAutoDefault(true);
  btnCancel->setAutoDefault(false);
  buttons->addStretch(1);
  buttons->addWidget(btnOk);
  buttons->addWidget(btnCancel);
  layout->addLayout(buttons);
  connect(btnOk, &QPushButton::clicked, this, &TdlgSettings::btnOkClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  BrowseFolder1 = new TBrowseFolder(this);
  BrowseFolder1->setObjectName(QStringLiteral("BrowseFolder1"));
  BrowseFolder1->Title = QStringLiteral("Please select the FTP upload folder");
  BrowseFolder1->Flags = static_cast<unsigned>(TBrowseInfoFlags::bfStatusText);
  BrowseFolder1->ShowPathInStatusArea = true;
  BrowseFolder1->SyncCustomButton = false;

  ToControls();
  RadioButton1Click();
  // Room for the warning beside the user name, so that it never squeezes the news page; while
  // it is hidden the signatures have that room.
  lblPlainLogin->setText(ToQ(PlainLoginWarning("None", "user")));
  lblPlainLogin->show();
  setFixedSize(sizeHint().expandedTo(QSize(470, 0)));
  UpdatePlainLoginWarning();
}

QWidget* TdlgSettings::CreateHomePageTab() {
  tbsWWWHomePage = Named(new QWidget(PageControl1), "tbsWWWHomePage");
  auto* page = new QVBoxLayout(tbsWWWHomePage);

  QGroupBox* homeGroup = Group(" &Home page file name ", tbsWWWHomePage, "GroupBox1");
  auto* home = new QVBoxLayout(homeGroup);
  Edit3 = Named(new QLineEdit(homeGroup), "Edit3");
  NVBFBtn4 = Named(new TNVBFBtn(homeGroup), "NVBFBtn4");
  home->addLayout(EditWithButton(Edit3, NVBFBtn4));
  home->addWidget(Label("HTML files will be created in the upload folder (see below)", homeGroup, "Label3"));
  page->addWidget(homeGroup);

  QGroupBox* uploadGroup = Group(" Files will be uploaded using... ", tbsWWWHomePage, "GroupBox2");
  auto* upload = new QVBoxLayout(uploadGroup);
  RadioButton1 = Named(new QRadioButton(QStringLiteral("&FTP"), uploadGroup), "RadioButton1");
  Edit1 = Named(new QLineEdit(uploadGroup), "Edit1");
  Button1 = Named(new QPushButton(QStringLiteral("..."), uploadGroup), "Button1");
  RadioButton2 = Named(new QRadioButton(QStringLiteral("single &archive file"), uploadGroup), "RadioButton2");
  Edit2 = Named(new QLineEdit(uploadGroup), "Edit2");
  NVBFBtn5 = Named(new TNVBFBtn(uploadGroup), "NVBFBtn5");
  RadioButton2->setChecked(true);

  auto indented = [&](QLabel* label, QHBoxLayout* row) {
    auto* box = new QVBoxLayout;
    box->setContentsMargins(kIndent, 0, 0, 0);
    box->setSpacing(2);
    box->addWidget(label);
    box->addLayout(row);
    return box;
  };
  upload->addWidget(RadioButton1);
  upload->addLayout(indented(Buddy(Label("&Output directory:", uploadGroup, "Label1"), Edit1),
                             EditWithButton(Edit1, Button1)));
  upload->addSpacing(6);
  upload->addWidget(RadioButton2);
  upload->addLayout(indented(Buddy(Label("&Upload archive file name:", uploadGroup, "Label2"), Edit2),
                             EditWithButton(Edit2, NVBFBtn5)));
  page->addWidget(uploadGroup);

  QGroupBox* siteGroup = Group(" &Site address ", tbsWWWHomePage, "GroupBox7");
  auto* site = new QVBoxLayout(siteGroup);
  Edit13 = Named(new QLineEdit(siteGroup), "Edit13");
  Edit13->setPlaceholderText(QStringLiteral("https://www.example.com/"));
  site->addWidget(Edit13);
  QLabel* siteNote = Label(
      "The public address of the output folder. With it every build also writes a news feed "
      "for each language and a sitemap.",
      siteGroup, "Label5");
  siteNote->setWordWrap(true);
  site->addWidget(siteNote);
  page->addWidget(siteGroup);
  page->addStretch(1);

  NVBFBtn4->SetOpenDialog([this] {
    auto* dialog = Named(new QFileDialog(this), "OpenDialog1");
    SetDialogFilter(dialog, kHtmlFilter);
    dialog->setFileMode(QFileDialog::AnyFile);  // a new site's home page does not exist yet
    return dialog;
  });
  NVBFBtn4->SetEditfield(Edit3);
  NVBFBtn4->SetFilenameOptions(TBFOptions::fileNameOnly);
  NVBFBtn4->Loaded();
  // The home page lies in the output folder: the dialog starts there.
  connect(NVBFBtn4, &TNVBFBtn::OnClick, this, [this] {
    TSettings typed = settings_;
    FromControls(typed);
    NVBFBtn4->OpenDialog()->setDirectory(QFile::decodeName(typed.OutputFolder().c_str()));
  });

  NVBFBtn5->SetOpenDialog([this] {
    auto* dialog = Named(new QFileDialog(this), "OpenDialog2");
    SetDialogFilter(dialog, kZipFilter);
    dialog->setFileMode(QFileDialog::AnyFile);  // the archive need not exist yet
    return dialog;
  });
  NVBFBtn5->SetEditfield(Edit2);
  NVBFBtn5->SetFilenameOptions(TBFOptions::folderAndFilename);
  NVBFBtn5->Loaded();

  connect(RadioButton1, &QRadioButton::clicked, this, &TdlgSettings::RadioButton1Click);
  connect(RadioButton2, &QRadioButton::clicked, this, &TdlgSettings::RadioButton1Click);
  // Tab enters the group on its selected button; the arrow keys move between the two.
  for (QRadioButton* radio : {RadioButton1, RadioButton2})
    connect(radio, &QRadioButton::toggled, radio,
            [radio](bool checked) { radio->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus); });
  RadioButton1->setFocusPolicy(Qt::ClickFocus);
  connect(Button1, &QPushButton::clicked, this, &TdlgSettings::Button1Click);
  return tbsWWWHomePage;
}

QWidget* TdlgSettings::CreateLanguagesTab() {
  tbsLanguages = Named(new QWidget(PageControl1), "tbsLanguages");
  auto* page = new QVBoxLayout(tbsLanguages);
  // Both groups show at once: each label has a letter of its own.
  auto language = [&](const char* caption, const char* groupName, QLineEdit*& name, const char* nameName,
                      QComboBox*& date, const char* dateName, QComboBox*& dateTime, const char* dateTimeName,
                      const std::array<const char*, 3>& labels) {
    QGroupBox* group = Group(caption, tbsLanguages, groupName);
    auto* form = new QFormLayout(group);
    name = Named(new QLineEdit(group), nameName);
    date = ChoiceBox(group, dateName, TSettings::kDateFormats);
    dateTime = ChoiceBox(group, dateTimeName, TSettings::kDateTimeFormats);
    form->addRow(QString::fromLatin1(labels[0]), name);
    form->addRow(QString::fromLatin1(labels[1]), date);
    form->addRow(QString::fromLatin1(labels[2]), dateTime);
    page->addWidget(group);
  };
  language(" Language 1 ", "GroupBox3", Edit11, "Edit11", ComboBox1, "ComboBox1", ComboBox3, "ComboBox3",
           {"&Name:", "&Date format:", "Date and &time format:"});
  language(" Language 2 ", "GroupBox4", Edit12, "Edit12", ComboBox2, "ComboBox2", ComboBox4, "ComboBox4",
           {"N&ame:", "Date f&ormat:", "Date and t&ime format:"});
  page->addStretch(1);
  return tbsLanguages;
}

QWidget* TdlgSettings::CreateNewsLanguageTab(const char* name, QLineEdit*& edit, const char* editName,
                                             QPlainTextEdit*& memo, const char* memoName) {
  auto* tab = Named(new QWidget(PageControl2), name);
  auto* box = new QVBoxLayout(tab);
  edit = Named(new QLineEdit(tab), editName);
  memo = Named(new QPlainTextEdit(tab), memoName);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);  // a line of the memo is a line of the signature
  memo->setMinimumHeight(80);
  box->addWidget(Buddy(Label("Default news &group", tab), edit));
  box->addWidget(edit);
  box->addWidget(Buddy(Label("S&ignature", tab), memo));
  box->addWidget(memo, 1);
  return tab;
}

QWidget* TdlgSettings::CreateNewsTab() {
  tbsNews = Named(new QWidget(PageControl1), "tbsNews");
  auto* page = new QVBoxLayout(tbsNews);
  QGroupBox* group = Group(" News Server, Newsgroups and signatures ", tbsNews, "GroupBox5");
  auto* box = new QVBoxLayout(group);
  auto* server = new QFormLayout;
  Edit4 = Named(new QLineEdit(group), "Edit4");
  server->addRow(QStringLiteral("News (NNTP)-&Server:"), Edit4);
  SpinEdit1 = Named(new QSpinBox(group), "SpinEdit1");
  SpinEdit1->setRange(1, 65535);
  ComboBox5 = ChoiceBox(group, "ComboBox5", TSettings::kNewsSecurities);
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(SpinEdit1);
  portRow->addSpacing(12);
  portRow->addWidget(Buddy(Label("Se&curity:", group, "Label5"), ComboBox5));
  portRow->addWidget(ComboBox5, 1);
  server->addRow(Buddy(Label("&Port:", group), SpinEdit1), portRow);
  Edit14 = Named(new QLineEdit(group), "Edit14");
  lblPlainLogin = Named(new QLabel(group), "lblPlainLogin");
  lblPlainLogin->setWordWrap(true);
  lblPlainLogin->setStyleSheet(QStringLiteral("color: #a40000;"));
  lblPlainLogin->hide();
  server->addRow(QStringLiteral("&User name:"), Edit14);
  server->addRow(QString(), lblPlainLogin);
  connect(Edit14, &QLineEdit::textChanged, this, &TdlgSettings::UpdatePlainLoginWarning);
  connect(ComboBox5, &QComboBox::currentTextChanged, this, &TdlgSettings::UpdatePlainLoginWarning);
  Edit16 = Named(new QLineEdit(group), "Edit16");
  Edit16->setEchoMode(QLineEdit::Password);
  server->addRow(QStringLiteral("Pass&word:"), Edit16);
  Edit15 = Named(new QLineEdit(group), "Edit15");
  NVBFBtn6 = Named(new TNVBFBtn(group), "NVBFBtn6");
  server->addRow(Buddy(Label("CA &file:", group), Edit15), EditWithButton(Edit15, NVBFBtn6));
  btnTestConnection = Named(new QPushButton(QStringLiteral("Test co&nnection"), group), "btnTestConnection");
  btnTestConnection->setAutoDefault(false);
  auto* testRow = new QHBoxLayout;
  testRow->addStretch(1);
  testRow->addWidget(btnTestConnection);
  server->addRow(QString(), testRow);
  box->addLayout(server);
  NVBFBtn6->SetOpenDialog([this] {
    auto* dialog = Named(new QFileDialog(this), "OpenDialog3");
    SetDialogFilter(dialog, kCertificateFilter);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return dialog;
  });
  NVBFBtn6->SetEditfield(Edit15);
  NVBFBtn6->SetFilenameOptions(TBFOptions::folderAndFilename);
  NVBFBtn6->Loaded();
  connect(ComboBox5, &QComboBox::activated, this, &TdlgSettings::ComboBox5Change);
  connect(btnTestConnection, &QPushButton::clicked, this, &TdlgSettings::btnTestConnectionClick);
  PageControl2 = Named(new QTabWidget(group), "PageControl2");
  tbsNews1 = CreateNewsLanguageTab("tbsNews1", Edit5, "Edit5", Memo1, "Memo1");
  tbsNews2 = CreateNewsLanguageTab("tbsNews2", Edit6, "Edit6", Memo2, "Memo2");
  PageControl2->addTab(tbsNews1, QStringLiteral("English"));
  PageControl2->addTab(tbsNews2, QStringLiteral("Alternate"));
  box->addWidget(PageControl2, 1);
  page->addWidget(group, 1);
  return tbsNews;
}

QWidget* TdlgSettings::CreateIdentificationTab() {
  tbsIdentification = Named(new QWidget(PageControl1), "tbsIdentification");
  auto* page = new QVBoxLayout(tbsIdentification);
  QGroupBox* group = Group(" Personal informations ", tbsIdentification, "GroupBox6");
  auto* box = new QVBoxLayout(group);
  auto* form = new QFormLayout;
  Edit7 = Named(new QLineEdit(group), "Edit7");
  Edit8 = Named(new QLineEdit(group), "Edit8");
  Edit9 = Named(new QLineEdit(group), "Edit9");
  Edit10 = Named(new QLineEdit(group), "Edit10");
  form->addRow(QStringLiteral("&Name:"), Edit7);
  form->addRow(QStringLiteral("&E-Mail address:"), Edit8);
  form->addRow(QStringLiteral("&Reply address:"), Edit9);
  form->addRow(QStringLiteral("&Organization:"), Edit10);
  box->addLayout(form);
  box->addSpacing(8);
  QLabel* note = Label("These informations will be used for outgoing news messages", group, "Label4");
  note->setWordWrap(true);
  box->addWidget(note);
  page->addWidget(group);
  page->addStretch(1);
  return tbsIdentification;
}

void TdlgSettings::ToControls() {
  for (const TSettingKey& key : SettingKeys()) {
    switch (key.Kind) {
      case TSettingKey::skText:
        Control<QLineEdit>(this, key)->setText(key.IsPath ? QFile::decodeName((settings_.*key.Text).c_str())
                                                          : ToQ(settings_.*key.Text));
        break;
      case TSettingKey::skChoice: SelectChoice(Control<QComboBox>(this, key), settings_.*key.Text); break;
      case TSettingKey::skLogical:
        Control<QAbstractButton>(this, key)->setChecked(settings_.*key.Logical);
        break;
      case TSettingKey::skLines:
        SetMemoLines(Control<QPlainTextEdit>(this, key), settings_.*key.Lines);
        break;
      case TSettingKey::skInteger: Control<QSpinBox>(this, key)->setValue(settings_.*key.Integer); break;
    }
  }
  // The upload method's other radio button carries the other value.
  if (!settings_.UploadMethodFTP) RadioButton2->setChecked(true);
  securityShown_ = settings_.Security;
}

void TdlgSettings::FromControls() { FromControls(settings_); }

void TdlgSettings::FromControls(TSettings& into) const {
  for (const TSettingKey& key : SettingKeys()) {
    switch (key.Kind) {
      case TSettingKey::skText: {
        const QString text = Control<QLineEdit>(this, key)->text();
        into.*key.Text = key.IsPath ? QFile::encodeName(text).toStdString() : FromQ(text);
        break;
      }
      case TSettingKey::skChoice: into.*key.Text = FromQ(Control<QComboBox>(this, key)->currentText()); break;
      case TSettingKey::skLogical:
        into.*key.Logical = Control<QAbstractButton>(this, key)->isChecked();
        break;
      case TSettingKey::skLines: into.*key.Lines = MemoLines(Control<QPlainTextEdit>(this, key)); break;
      case TSettingKey::skInteger: into.*key.Integer = Control<QSpinBox>(this, key)->value(); break;
    }
  }
}

std::vector<std::pair<QLineEdit*, std::optional<TCredentialKey>>> TdlgSettings::PasswordFields() const {
  std::optional<TCredentialKey> news, publish;
  if (!settings_.Server.empty() && !settings_.User.empty()) news = NewsCredentialKey(settings_);
  try {
    if (!settings_.PublishURL.empty()) publish = PublishCredentialKey(PublishTarget(settings_));
  } catch (const EPublishError&) {
    // No login without a valid address.
  }
  return {{Edit16, news}, {edtPublishPassword, publish}};
}

void TdlgSettings::ShowKeptPasswords() {
  for (const auto& [edit, key] : PasswordFields()) {
    if (!edit->text().isEmpty() || !key) continue;
    for (TCredentialStore* store : {passwords_.ThisRun, passwords_.Keyring}) {
      if (store == nullptr) continue;
      try {
        if (const std::optional<std::string> password = store->ReadPassword(*key)) {
          edit->setText(QString::fromStdString(*password));
          break;
        }
      } catch (const ECredentialError&) {
        // Shown as empty; keeping a password on OK says what is wrong with the keyring.
      }
    }
  }
}

void TdlgSettings::KeepPasswords(bool lasting) {
  // Every password the keyring refused is named in one message.
  std::vector<std::string> notKept;
  std::string reason, details;
  for (const auto& [edit, key] : PasswordFields()) {
    if (!key) continue;
    const std::string password = edit->text().toStdString();  // UTF-8, as a server takes it
    if (passwords_.ThisRun != nullptr) {
      if (password.empty()) {
        passwords_.ThisRun->DeletePassword(*key);
      } else {
        passwords_.ThisRun->WritePassword(*key, password);
      }
    }
    if (!lasting || !edit->isModified()) continue;
    try {
      if (passwords_.Keyring == nullptr) throw ECredentialError("No keyring is running");
      if (password.empty()) {
        passwords_.Keyring->DeletePassword(*key);
      } else {
        passwords_.Keyring->WritePassword(*key, password);
      }
      edit->setModified(false);
    } catch (const ECredentialError& e) {
      notKept.push_back((edit == Edit16 ? "the news server password of " : "the upload password of ") +
                        key->User + " on " + key->Host);
      if (reason.empty()) reason = e.what();
      if (!e.Details().empty() && details.find(e.Details()) == std::string::npos)
        details += (details.empty() ? "" : "\n") + e.Details();
    }
  }
  if (notKept.empty()) return;
  const bool one = notKept.size() == 1;
  ShowError(reason + "; " + (one ? notKept[0] : notKept[0] + " and " + notKept[1]) +
                (one ? " was" : " were") + " not kept. " + (one ? "It is" : "They are") +
                " used until the program ends; for later runs " + (one ? "it" : "they") +
                " can be put into ~/.netrc.",
            details);
}

void TdlgSettings::UpdatePlainLoginWarning() {
  const std::string warning = PlainLoginWarning(FromQ(ComboBox5->currentText()), FromQ(Edit14->text()));
  lblPlainLogin->setText(ToQ(warning));
  lblPlainLogin->setVisible(!warning.empty());
}

void TdlgSettings::ComboBox5Change() {
  const std::string security = FromQ(ComboBox5->currentText());
  if (SpinEdit1->value() == TSettings::DefaultNewsPort(securityShown_))
    SpinEdit1->setValue(TSettings::DefaultNewsPort(security));
  securityShown_ = security;
}

void TdlgSettings::btnTestConnectionClick() {
  TSettings tried = settings_;
  FromControls(tried);
  if (tried.Server.empty()) {
    ShowError(kMsgNoServer);
    return;
  }
  const std::string failed = "The connection to " + tried.Server + " failed";
  T_NNTP nntp;
  try {
    ConfigureNewsClient(nntp, tried);
    nntp.Password = Edit16->text().toStdString();
    if (nntp.Password.empty()) nntp.Password = NewsPassword(tried, passwords_.All);
  } catch (const ETcpIpError& e) {
    ShowError(failed, e.what());
    return;
  } catch (const ECredentialError& e) {
    ShowError(failed, e.what());
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const TConnectionTest test = TestNewsServer(nntp);
  QApplication::restoreOverrideCursor();
  std::string transcript;
  for (const std::string& line : test.Transcript) transcript += line + "\n";
  if (test.Succeeded) {
    ShowMessage("The connection to " + tried.Server + " works.\n\n" + transcript);
  } else {
    ShowError(failed + ": " + test.Failure, transcript);
  }
}

void TdlgSettings::LoadSettings() {
  settings_ = TSettings(settings_.SiteFolder(), settings_.ProgramName());
  std::string error, warning;
  const bool ok = settings_.LoadSettings(error, warning);
  ToControls();
  Edit16->clear();
  edtPublishPassword->clear();
  PageControl1->setCurrentWidget(tbsWWWHomePage);
  RadioButton1Click();
  FocusControl(Edit3);
  if (!ok) ShowError("The settings could not be read, so the defaults apply: " + error);
  if (!warning.empty()) ShowError(warning);
}

void TdlgSettings::btnOkClick() {
  FromControls(settings_);
  std::string error;
  if (!settings_.SaveSettings(error)) ShowError(error);
  KeepPasswords(true);
  accept();
}

void TdlgSettings::done(int result) {
  FromControls(settings_);
  KeepPasswords(false);
  QDialog::done(result);
  emit SettingsChanged();
}

void TdlgSettings::RadioButton1Click() {
  const bool ftp = RadioButton1->isChecked();
  Edit1->setEnabled(ftp);
  Button1->setEnabled(ftp);
  Edit2->setEnabled(!ftp);
  NVBFBtn5->setEnabled(!ftp);
  FocusControl(Edit1->isEnabled() ? Edit1 : Edit2);
}

void TdlgSettings::Button1Click() {
  BrowseFolder1->Directory = Edit1->text();
  if (BrowseFolder1->Execute()) Edit1->setText(BrowseFolder1->Directory);
}

void TdlgSettings::FocusControl(QWidget* control) {
  if (isVisible()) {
    control->setFocus(Qt::OtherFocusReason);
    focusOnShow_ = nullptr;
  } else {
    focusOnShow_ = control;
  }
}

void TdlgSettings::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // Centred on the screen, as a settings dialog of its own.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  if (focusOnShow_) {
    focusOnShow_->setFocus(Qt::OtherFocusReason);
    focusOnShow_ = nullptr;
  }
  ShowKeptPasswords();
}

}  // namespace pagolin
