// TForm1: the main window. The frame (tool bar, menus, tabs, status bar, upload tab) lives in
// mainwindow.cpp; each group of commands is wired in a file of its own
// (mainwindow_settings.cpp, mainwindow_build.cpp, mainwindow_news.cpp, mainwindow_files.cpp,
// mainwindow_keys.cpp for the window's keys and the Edit menu); the content tabs are classes
// of their own (contenttabs.h).
#pragma once

#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "core/news/mailnews.h"
#include "core/pages/uploadlist.h"

namespace pagolin {

class TContentTab;
class TCredentialStore;
class TDBGrid;
class TUndoHistory;
class TTabCodes;
class TTabCoolLinks;
class TTabHotNews;
class TTabPostings;
class TTabProducts;
class TDataModule2;
class TSettings;
class THintTracker;
class TFontDialog;
class TInsertMenu;
class TNVApplication;
class TNVRichPop;
class TSingleInstance;
class TdlgAbout;
class TdlgNewDatabase;
class TdlgProgress;
class TdlgPublish;
class TdlgSettings;

// The dialogs the main window shows; they are created after it and handed over once they exist.
struct TForm1Dialogs {
  TdlgAbout* dlgAbout = nullptr;
  TdlgProgress* dlgProgress = nullptr;
  TdlgSettings* dlgSettings = nullptr;
  TdlgNewDatabase* dlgNewDatabase = nullptr;
};

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // settings: the settings in force; dataModule: the site's tables (opened after this window
  // is created). Both outlive the window.
  TForm1(TSettings& settings, TDataModule2& dataModule, QWidget* parent = nullptr);
  ~TForm1() override;

  // REQUIRES: called once, before the window is shown.
  void SetDialogs(const TForm1Dialogs& dialogs);
  // Where "Send News" finds the news server's password (outlives the window; null: nowhere).
  void SetPasswords(TCredentialStore* passwords) { passwords_ = passwords; }

  static inline const char* kDefaultHint = "Welcome to Pagolin!";

  // Captions that depend on the settings (language names, company name).
  void ApplyLanguageCaptions();

  // Tool bar and menu commands.
  void Build2Click();
  // "Publish": uploads what changed since the last publish (mainwindow_publish.cpp).
  void Publish1Click();
  void ToolButton2Click();
  void ToolButton3Click();
  void ToolButton7Click();
  void Help2Click();
  // F1: the help page of the dialog in front or of the active tab.
  void ContextHelp();
  void Cleardatabases1Click();
  void Quit1Click();
  void AboutClick();
  void Button1Click();
  void btnOpenUploadArchiveClick();

  // Stores the pending edits of every table as moving to another record would: an open cell
  // editor and the bound controls write into the record, which is posted; a new record nobody
  // wrote into is dropped. A change that cannot be stored is shown with the question (say "Quit
  // without this change?"): OK drops that change, Cancel keeps it and returns false at once.
  // Runs before the window closes (Quit, Ctrl+Q, the close box) and before another site opens.
  bool PostPendingEdits(const std::string& question);

  // The application's hint changed: it goes to the status bar.
  void NVApplication1ShowHint();

  // Shows the window maximised, filling the screen also where no window manager maximises it.
  void ShowMaximised();

  // Runs once, when the window is first shown.
  void FormShow();
  // Brings "Products" to the front: at the first activation, and at the activation that
  // follows the closing of one of the program's own forms (OwnForm). Activation from another
  // program, or after a message box or a file, colour or font dialog, leaves the tab as it was:
  // the person goes on where they were looking.
  void FormActivate();
  // form is one of the program's own forms, after whose closing FormActivate runs.
  void OwnForm(QDialog* form);

  // The ellipsis button of a file cell in the products or links grid: the file chosen in
  // OpenDialog1 is stored by its bare name (mainwindow_files.cpp).
  void DBGrid2EditButtonClick(TDBGrid* grid);
  // "Copy to newsgroups": the news item as its controls show it becomes two postings.
  void btnCopyToNewsClick();

  // The Edit menu (mainwindow_keys.cpp): undo and redo the newest cancelled edit or delete of
  // the table of the tab in front; their captions name it.
  void Undo1Click();
  void Redo1Click();
  // The content tab in front and its table's undo history (nullptr on the upload tab).
  TContentTab* ActiveContentTab() const;
  TUndoHistory* ActiveUndoHistory() const;
  // The window's own keys, wherever the focus is in it: Ctrl+PgDn / Ctrl+PgUp switch the main
  // tabs; Ctrl+Tab / Ctrl+Shift+Tab leave for the next or previous control (also from a grid
  // or a multi-line editor, where Tab stays inside); and in a content tab Ctrl+Enter posts,
  // Escape cancels the record's changes, Ctrl+Z undoes (an editor's own typing first) and
  // Ctrl+Y or Ctrl+Shift+Z redo. True when the key was taken.
  bool WindowKeyPress(QWidget* target, QKeyEvent* event);
  // The key is one of the window's own in a content tab: no shortcut may take it first.
  bool WindowKeyOverride(QWidget* target, QKeyEvent* event);

  QTabWidget* pgcMain = nullptr;
  // The content tabs, each holding its controls under their names (contenttabs.h).
  TTabProducts* tbsProducts = nullptr;
  TTabHotNews* tbsHotNews = nullptr;
  TTabCoolLinks* tbsCoolLinks = nullptr;
  TTabPostings* tbsMailAndNews = nullptr;
  TTabCodes* tbsCodes = nullptr;
  // The grids' file dialog, made at its first use (OpenDialog()).
  QFileDialog* OpenDialog1 = nullptr;
  QFileDialog* OpenDialog();
  QListWidget* CheckListBox1 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* btnOpenUploadArchive = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QToolBar* ToolBar1 = nullptr;

  QToolButton* ToolButton1 = nullptr;
  QToolButton* ToolButton4 = nullptr;  // "Publish"
  QToolButton* ToolButton2 = nullptr;
  QToolButton* ToolButton3 = nullptr;
  QToolButton* ToolButton7 = nullptr;
  QToolButton* ToolButton9 = nullptr;

  // Menu items, by their names.
  QAction* Cleardatabases1 = nullptr;
  QAction* Settings1 = nullptr;
  QAction* Build2 = nullptr;
  QAction* Publish1 = nullptr;
  QAction* Quit1 = nullptr;
  QAction* Help2 = nullptr;
  QAction* VisitHomepage1 = nullptr;
  QAction* SendEmail1 = nullptr;
  QAction* CopyEmail1 = nullptr;
  QAction* CopyHomepage1 = nullptr;
  QAction* About1 = nullptr;
  QMenu* Edit1 = nullptr;
  QAction* Undo1 = nullptr;
  QAction* Redo1 = nullptr;

  // The tool-bar commands behind the buttons.
  QAction* actBuild = nullptr;
  QAction* actPublish = nullptr;
  QAction* actLaunchBrowser = nullptr;
  QAction* actSettings = nullptr;
  QAction* actSendNews = nullptr;
  QAction* actHelp = nullptr;

  // The news client and the article component of "Send News". Their component names carry a
  // leading underscore, which C++ reserves before a capital letter, so they drop it here.
  T_NNTP NNTP1;
  T_News News1;

  TdlgPublish* dlgPublish = nullptr;  // the publish progress, a child of the window from the first publish
  TNVApplication* NVApplication1 = nullptr;
  TSingleInstance* SingleInstance1 = nullptr;
  // The popup menu of every rich editor of the window, with the font dialog it runs and the
  // window's own insertion items at its head.
  TNVRichPop* NVRichPop1 = nullptr;
  TFontDialog* FontDialog1 = nullptr;
  TInsertMenu* InsertMenu = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateTabs();
  QWidget* CreateUploadTab();

  // Each wires its command group; until a group is built its commands stay disabled.
  void WireSettingsCommands();
  void WireBuildCommands();
  void WirePublishCommands();
  // Fills the upload list, each file with its publish state beside it.
  void ShowUploadList(const TUploadList& list);
  // The publish state of each file of the list shown, against the folder of the settings.
  void ShowPublishStates();
  void WireNewsCommands();
  void CreateApplicationComponents();
  void CreatePopupMenu();
  void WireHelpCommands();
  void WireFileCommands();
  void WireKeys();
  void UpdateUndoItems();
  // The next (step 1) or previous (-1) main tab, with the focus on its grid.
  void SwitchMainTab(int step);

  TSettings& settings_;
  TDataModule2& dataModule_;
  TForm1Dialogs dialogs_;
  TCredentialStore* passwords_ = nullptr;
  TUploadList uploadList_;  // the list shown on the tab "Upload files"
  THintTracker* hints_ = nullptr;
  bool shown_ = false;
  bool ownFormClosed_ = true;  // FormActivate is due at the next activation (the first one too)
};

}  // namespace pagolin
