// The main window's application components and the Help menu: the application information
// (title, hints, the publisher's addresses behind the Help menu), the single-instance guard,
// the help (contents from the menu and the tool bar, the active tab's or dialog's page on F1)
// and the about box.
#include <QApplication>

#include "core/data/settings.h"
#include "gui/app/appinfo.h"
#include "gui/app/dlgabout.h"
#include "gui/app/helpfile.h"
#include "gui/app/mainwindow.h"
#include "gui/app/program.h"
#include "gui/components/hinttracker.h"
#include "gui/components/nvapplication.h"
#include "gui/components/qtext.h"
#include "gui/components/singleinstance.h"

namespace pagolin {

void TForm1::CreateApplicationComponents() {
  SingleInstance1 = new TSingleInstance(this, ToQ(settings_.SiteFolder()));

  NVApplication1 = new TNVApplication(this);
  NVApplication1->setObjectName(QStringLiteral("NVApplication1"));
  NVApplication1->SetTitle(QString::fromLatin1(kAppTitle));
  NVApplication1->SetVersion(QString::fromLatin1(kAppVersion));
  NVApplication1->SetEmailAddress(QString::fromLatin1(kPublisherEmail));
  NVApplication1->SetHomepage(QString::fromLatin1(kPublisherHomepage));
  NVApplication1->OnShowHint = [this] { NVApplication1ShowHint(); };
  NVApplication1->Loaded();
}

void TForm1::WireHelpCommands() {
  connect(Help2, &QAction::triggered, this, &TForm1::Help2Click);
  connect(actHelp, &QAction::triggered, this, &TForm1::Help2Click);
  connect(About1, &QAction::triggered, this, &TForm1::AboutClick);
  const TNVApplication* info = NVApplication1;
  connect(VisitHomepage1, &QAction::triggered, this, [info] { info->VisitHomepage(); });
  connect(SendEmail1, &QAction::triggered, this, [info] { info->SendEmail(); });
  connect(CopyEmail1, &QAction::triggered, this, [info] { info->CopyEmailAddress(); });
  connect(CopyHomepage1, &QAction::triggered, this, [info] { info->CopyHomepage(); });
  for (QAction* a : {VisitHomepage1, SendEmail1, CopyEmail1, CopyHomepage1}) a->setEnabled(true);

  // F1 anywhere, dialogs included; the menu item shows the key.
  auto* helpKey = new THelpKey(this);
  helpKey->OnHelp = [this] { ContextHelp(); };
  qApp->installEventFilter(helpKey);
}

void TForm1::NVApplication1ShowHint() {
  const QString hint = THintTracker::Application()->CurrentHint();
  StatusBar1->showMessage(hint.isEmpty() ? QString::fromLatin1(kDefaultHint) : hint);
}

void TForm1::Help2Click() { ShowHelpFile(HelpFile()); }

void TForm1::ContextHelp() {
  // The dialog in front, from its focused control; else the main window's active tab.
  const QWidget* from = QApplication::activeModalWidget();
  if (from && from->focusWidget()) from = from->focusWidget();
  if (!from) from = pgcMain->currentWidget();
  ShowHelpFile(HelpTopicFile(HelpFile(), HelpContextOf(from)));
}

void TForm1::AboutClick() {
  if (dialogs_.dlgAbout) dialogs_.dlgAbout->exec();
}

}  // namespace pagolin
