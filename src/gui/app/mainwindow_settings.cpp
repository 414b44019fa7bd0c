// The main window's settings-related commands: "Settings...", the captions that follow the
// settings, and the shell commands that open the built site.
#include <QTabWidget>
#include <QUrl>

#include "core/data/company.h"
#include "core/platform/filenames.h"
#include "gui/app/contenttabs.h"
#include "gui/app/insertmenu.h"
#include "gui/app/mainwindow.h"
#include "gui/components/desktopopen.h"
#include "gui/components/qtext.h"
#include "gui/data/dlgsettings.h"

namespace pagolin {
namespace {

// Gives the tab page named pageName (anywhere under root) the caption; a page that does not
// exist (yet) is passed over.
void SetTabCaption(QWidget* root, const char* pageName, const QString& caption) {
  auto* page = root->findChild<QWidget*>(QString::fromLatin1(pageName));
  if (!page) return;
  for (QWidget* w = page->parentWidget(); w; w = w->parentWidget()) {
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
      const int index = tabs->indexOf(page);
      if (index >= 0) tabs->setTabText(index, caption);
      return;
    }
  }
}

// Asks the desktop to open a file or folder; a message names it when no program starts for it.
void OpenInShell(const std::string& path) {
  if (!path.empty()) OpenWithDesktop(QUrl::fromLocalFile(ToQ(path)));
}

}  // namespace

void TForm1::WireSettingsCommands() {
  connect(actSettings, &QAction::triggered, this, &TForm1::ToolButton3Click);
  connect(Settings1, &QAction::triggered, this, &TForm1::ToolButton3Click);
  connect(actLaunchBrowser, &QAction::triggered, this, &TForm1::ToolButton2Click);
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(btnOpenUploadArchive, &QPushButton::clicked, this, &TForm1::btnOpenUploadArchiveClick);
}

void TForm1::FormShow() {
  if (dialogs_.dlgSettings) dialogs_.dlgSettings->LoadSettings();
  // "Open upload archive" is enabled by ApplyLanguageCaptions, which runs just below.
  // OpenDialog1 starts in the output folder at each use (DBGrid2EditButtonClick).
  ApplyLanguageCaptions();
  InsertMenu->FillGlobalVariables();
}

void TForm1::ApplyLanguageCaptions() {
  const TSettings& s = settings_;
  const QString l1 = ToQ(s.LanguageName(1).value_or(std::string()));
  const QString l2 = ToQ(s.LanguageName(2).value_or(std::string()));

  // 1. The archive can be opened once one is set.
  btnOpenUploadArchive->setEnabled(!ToQ(s.ArchiveFileName()).trimmed().isEmpty());
  // 2. The products tab carries the publisher's company name.
  SetTabCaption(this, "tbsProducts", ToQ(CompanyName(settings_.SiteFolder())) + QStringLiteral(" Products "));
  // 3. The language tabs of the settings dialog's news page.
  if (dialogs_.dlgSettings) {
    SetTabCaption(dialogs_.dlgSettings, "tbsNews1", l1);
    SetTabCaption(dialogs_.dlgSettings, "tbsNews2", l2);
  }
  // 4. and 6. The language tabs of the content editors.
  for (const char* name : {"tbsProducts1", "tbsHotNews1", "tbsCoolLinks1"}) SetTabCaption(this, name, l1);
  for (const char* name : {"tbsProducts2", "tbsHotNews2", "tbsCoolLinks2"}) SetTabCaption(this, name, l2);
  // 5. and 7. The titles of the grids' language columns.
  tbsHotNews->DBGrid1->Columns(1).SetTitleCaption(QStringLiteral("News Title ") + l1);
  tbsHotNews->DBGrid1->Columns(2).SetTitleCaption(QStringLiteral("News Title ") + l2);
  tbsCodes->DBGrid4->Columns(2).SetTitleCaption(QStringLiteral("Description ") + l1);
  tbsCodes->DBGrid4->Columns(3).SetTitleCaption(QStringLiteral("Description ") + l2);
}

void TForm1::ToolButton2Click() { OpenInShell(settings_.HomePagePath()); }

void TForm1::ToolButton3Click() {
  TdlgSettings* dlg = dialogs_.dlgSettings;
  if (!dlg) return;
  dlg->PageControl1->setCurrentWidget(dlg->tbsWWWHomePage);
  dlg->exec();
}

void TForm1::Button1Click() { OpenInShell(ExtractFilePath(settings_.HomePagePath())); }

void TForm1::btnOpenUploadArchiveClick() { OpenInShell(settings_.ArchiveFileName()); }

}  // namespace pagolin
