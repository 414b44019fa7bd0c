#include "gui/app/mainwindow.h"

#include <QApplication>
#include <QCursor>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <QStatusTipEvent>
#include <QVBoxLayout>
#include <initializer_list>
#include <utility>

#include "core/data/datamod.h"
#include "gui/app/contenttabs.h"
#include "gui/app/dlgabout.h"
#include "gui/app/insertmenu.h"
#include "gui/app/program.h"
#include "gui/app/toolbaricons.h"
#include "gui/components/fontdialog.h"
#include "gui/components/hinttracker.h"
#include "gui/components/nvrichpop.h"
#include "gui/data/dlgnewdatabase.h"
#include "gui/data/dlgsettings.h"
#include "gui/pages/dlgprogress.h"

namespace pagolin {

namespace {

QAction* MakeAction(QObject* parent, const char* name, const char* caption, const char* hint,
                    const QKeySequence& shortcut = {}) {
  auto* a = new QAction(QString::fromLatin1(caption), parent);
  a->setObjectName(QString::fromLatin1(name));
  a->setIconText(a->text());  // keeps "..." on tool buttons
  if (hint) a->setStatusTip(QString::fromLatin1(hint));
  if (!shortcut.isEmpty()) a->setShortcut(shortcut);
  return a;
}

// The 48 by 48 logo beside the tool bar: the program's icon.
QPixmap LogoPixmap() { return QPixmap(QStringLiteral(":/pagolin-48.png")); }

}  // namespace

TForm1::TForm1(TSettings& settings, TDataModule2& dataModule, QWidget* parent)
    : QMainWindow(parent), settings_(settings), dataModule_(dataModule) {
  setObjectName(QStringLiteral("Form1"));
  setMinimumSize(420, 420);
  SetHint(this, QString::fromLatin1(kDefaultHint));

  hints_ = THintTracker::Application();

  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateTabs();

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(true);
  setStatusBar(StatusBar1);
  StatusBar1->showMessage(QString::fromLatin1(kDefaultHint));

  CreateApplicationComponents();
  CreatePopupMenu();
  WireSettingsCommands();
  WireBuildCommands();
  WirePublishCommands();
  WireNewsCommands();
  WireHelpCommands();
  WireFileCommands();
  WireKeys();
}

TForm1::~TForm1() { dataModule_.EnableSendBox = nullptr; }

void TForm1::CreateActions() {
  actBuild = MakeAction(this, "actBuild", "Build pages", "Rebuild your web site pages");
  actPublish = MakeAction(this, "actPublish", "Publish", "Upload the changed files to your web server");
  actLaunchBrowser = MakeAction(this, "actLaunchBrowser", "Launch Browser", "Launch your browser");
  actSettings = MakeAction(this, "actSettings", "Settings...", "Settings");
  actSendNews = MakeAction(this, "actSendNews", "Send News", "Send newsgroup postings");
  actHelp = MakeAction(this, "actHelp", "Help", "Help");

  actBuild->setIcon(ToolBarIcon(TToolBarIcon::tiBuild));
  actPublish->setIcon(ToolBarIcon(TToolBarIcon::tiPublish));
  actLaunchBrowser->setIcon(ToolBarIcon(TToolBarIcon::tiBrowser));
  actSettings->setIcon(ToolBarIcon(TToolBarIcon::tiSettings));
  actSendNews->setIcon(ToolBarIcon(TToolBarIcon::tiSendNews));
  actHelp->setIcon(ToolBarIcon(TToolBarIcon::tiHelp));

  Cleardatabases1 =
      MakeAction(this, "Cleardatabases1", "&New database...", nullptr, QKeySequence(Qt::CTRL | Qt::Key_N));
  Settings1 =
      MakeAction(this, "Settings1", "&Settings...", "Settings...", QKeySequence(Qt::CTRL | Qt::Key_S));
  Build2 = MakeAction(this, "Build2", "&Build pages", "Build web site", QKeySequence(Qt::Key_F9));
  Publish1 = MakeAction(this, "Publish1", "&Publish", "Publish web site");
  Quit1 = MakeAction(this, "Quit1", "&Quit", "Quit Pagolin", QKeySequence(Qt::CTRL | Qt::Key_Q));
  Help2 = MakeAction(this, "Help2", "&Help", "Help", QKeySequence(Qt::Key_F1));
  VisitHomepage1 = MakeAction(this, "VisitHomepage1", "&Visit our home page...", "Visit our home page");
  SendEmail1 = MakeAction(this, "SendEmail1", "Send us &email...", "Send us email");
  CopyEmail1 =
      MakeAction(this, "CopyEmail1", "Copy our e&mail adress", "Copy our email address to the clipboard");
  CopyHomepage1 = MakeAction(this, "CopyHomepage1", "Copy our WWW home page &URL",
                             "Copy our WWW home page URL to the clipboard");
  About1 = MakeAction(this, "About1", "&About Pagolin...", "About Pagolin");

  connect(Quit1, &QAction::triggered, this, &TForm1::Quit1Click);
  connect(Cleardatabases1, &QAction::triggered, this, &TForm1::Cleardatabases1Click);
}

void TForm1::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("File1"));
  file->menuAction()->setStatusTip(QStringLiteral("File menu"));
  file->addAction(Cleardatabases1);
  file->addSeparator();
  file->addAction(Settings1);
  file->addAction(Build2);
  file->addAction(Publish1);
  file->addSeparator();
  file->addAction(Quit1);

  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("Help1"));
  help->menuAction()->setStatusTip(QStringLiteral("Help menu"));
  help->addAction(Help2);
  help->addSeparator();
  help->addAction(VisitHomepage1);
  help->addAction(SendEmail1);
  help->addAction(CopyEmail1);
  help->addAction(CopyHomepage1);
  help->addSeparator();
  help->addAction(About1);
}

void TForm1::CreateToolBar() {
  ToolBar1 = new QToolBar(QStringLiteral("ToolBar1"), this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  ToolBar1->setIconSize(QSize(24, 24));
  addToolBar(Qt::TopToolBarArea, ToolBar1);

  auto addButton = [this](QAction* action, const char* name) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setDefaultAction(action);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setMinimumWidth(84);
    SetHint(b, action->statusTip());
    b->setToolTip(QString());
    ToolBar1->addWidget(b);
    return b;
  };
  ToolButton1 = addButton(actBuild, "ToolButton1");
  ToolBar1->addSeparator();
  ToolButton4 = addButton(actPublish, "ToolButton4");
  ToolBar1->addSeparator();
  ToolButton2 = addButton(actLaunchBrowser, "ToolButton2");
  ToolBar1->addSeparator();
  ToolButton3 = addButton(actSettings, "ToolButton3");
  ToolBar1->addSeparator();
  ToolButton7 = addButton(actSendNews, "ToolButton7");
  ToolBar1->addSeparator();
  ToolButton9 = addButton(actHelp, "ToolButton9");

  auto* spacer = new QWidget(ToolBar1);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  ToolBar1->addWidget(spacer);
  auto* logo = new QLabel(ToolBar1);
  logo->setObjectName(QStringLiteral("imgLogo"));
  logo->setPixmap(LogoPixmap());
  logo->setFixedSize(56, 52);
  logo->setAlignment(Qt::AlignCenter);
  ToolBar1->addWidget(logo);
}

void TForm1::CreateTabs() {
  pgcMain = new QTabWidget(this);
  pgcMain->setObjectName(QStringLiteral("pgcMain"));
  tbsProducts = new TTabProducts(dataModule_, pgcMain);
  pgcMain->addTab(tbsProducts, QStringLiteral("Products"));
  tbsHotNews = new TTabHotNews(dataModule_, pgcMain);
  pgcMain->addTab(tbsHotNews, QStringLiteral("Hot News"));
  tbsCoolLinks = new TTabCoolLinks(dataModule_, pgcMain);
  pgcMain->addTab(tbsCoolLinks, QStringLiteral("Cool Links"));
  tbsMailAndNews = new TTabPostings(dataModule_, pgcMain);
  pgcMain->addTab(tbsMailAndNews, QStringLiteral("Newsgroup Postings"));
  tbsCodes = new TTabCodes(dataModule_, pgcMain);
  pgcMain->addTab(tbsCodes, QStringLiteral("HTML codes"));
  dataModule_.EnableSendBox = [this](bool enabled) { tbsMailAndNews->dbcbxInclude->setEnabled(enabled); };
  pgcMain->addTab(CreateUploadTab(), QStringLiteral("Upload files"));
  setCentralWidget(pgcMain);
}

QWidget* TForm1::CreateUploadTab() {
  auto* page = new QWidget(pgcMain);
  page->setObjectName(QStringLiteral("tbsUpload"));
  auto* layout = new QVBoxLayout(page);

  auto* group = new QGroupBox(QStringLiteral(" These files are on your home page "), page);
  group->setObjectName(QStringLiteral("GroupBox1"));
  auto* groupLayout = new QVBoxLayout(group);
  CheckListBox1 = new QListWidget(group);
  CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
  groupLayout->addWidget(CheckListBox1);
  layout->addWidget(group, 1);

  auto* strip = new QHBoxLayout;
  auto* caption = new QLabel(QStringLiteral("Used Web server space:"), page);
  caption->setObjectName(QStringLiteral("Label1"));
  Label2 = new QLabel(QStringLiteral("0 KB"), page);
  Label2->setObjectName(QStringLiteral("Label2"));
  QFont bold = Label2->font();
  bold.setBold(true);
  Label2->setFont(bold);
  Button1 = new QPushButton(QStringLiteral("Open upload folder"), page);
  Button1->setObjectName(QStringLiteral("Button1"));
  btnOpenUploadArchive = new QPushButton(QStringLiteral("Open upload archive"), page);
  btnOpenUploadArchive->setObjectName(QStringLiteral("btnOpenUploadArchive"));
  btnOpenUploadArchive->setEnabled(false);
  strip->addWidget(caption);
  strip->addWidget(Label2);
  strip->addStretch(1);
  strip->addWidget(Button1);
  strip->addWidget(btnOpenUploadArchive);
  layout->addLayout(strip);
  return page;
}

void TForm1::CreatePopupMenu() {
  FontDialog1 = new TFontDialog(this);
  FontDialog1->setObjectName(QStringLiteral("FontDialog1"));
  NVRichPop1 = new TNVRichPop(this);
  NVRichPop1->setObjectName(QStringLiteral("NVRichPop1"));
  NVRichPop1->SetLanguage(TLanguage::roEnglish);
  NVRichPop1->SetFontDialog(FontDialog1);
  InsertMenu = new TInsertMenu(*NVRichPop1, dataModule_.tblCodes, this);
  NVRichPop1->Loaded();  // the menu's own items follow the window's
  for (TDBRichEdit* editor : pgcMain->findChildren<TDBRichEdit*>()) NVRichPop1->Attach(editor);
  InsertMenu->SetCodeEditor(tbsCodes->DBRichEdit7);
}

void TForm1::Quit1Click() { close(); }

void TForm1::Cleardatabases1Click() {
  if (dialogs_.dlgNewDatabase) dialogs_.dlgNewDatabase->exec();
}

void TForm1::ShowMaximised() {
  if (const QScreen* s = screen()) setGeometry(s->availableGeometry());
  showMaximized();
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

bool TForm1::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      if (std::exchange(ownFormClosed_, false)) FormActivate();
      break;
    case QEvent::StatusTip: {
      // A highlighted menu item shows its hint; leaving it shows the hint under the mouse.
      auto* tip = static_cast<QStatusTipEvent*>(event);
      hints_->SetCurrentHint(tip->tip().isEmpty() ? HintOf(QApplication::widgetAt(QCursor::pos()))
                                                  : tip->tip());
      return true;
    }
    default: break;
  }
  return QMainWindow::event(event);
}

void TForm1::FormActivate() { pgcMain->setCurrentIndex(0); }

void TForm1::SetDialogs(const TForm1Dialogs& dialogs) {
  dialogs_ = dialogs;
  for (QDialog* form : std::initializer_list<QDialog*>{dialogs.dlgAbout, dialogs.dlgProgress,
                                                       dialogs.dlgSettings, dialogs.dlgNewDatabase})
    if (form) OwnForm(form);
}

void TForm1::OwnForm(QDialog* form) {
  connect(form, &QDialog::finished, this, [this] {
    // The window may be active again already (the form was hidden first); else its activation
    // is still to come.
    ownFormClosed_ = true;
    if (isActiveWindow()) {
      ownFormClosed_ = false;
      FormActivate();
    }
  });
}

}  // namespace pagolin
