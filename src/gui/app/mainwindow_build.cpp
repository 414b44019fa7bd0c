// The main window's "Build pages" command (menu F9 and the tool button): the build dialog,
// then the upload list from the files the build produced.
#include <QListWidgetItem>

#include "core/pages/uploadarchive.h"
#include "core/pages/uploadlist.h"
#include "core/platform/hooks.h"
#include "gui/app/mainwindow.h"
#include "gui/components/qtext.h"
#include "gui/pages/dlgprogress.h"

namespace pagolin {

void TForm1::WireBuildCommands() {
  for (QAction* a : {actBuild, Build2}) {
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, &TForm1::Build2Click);
  }
}

void TForm1::Build2Click() {
  if (QWidget* upload = pgcMain->findChild<QWidget*>(QStringLiteral("tbsUpload")))
    pgcMain->setCurrentWidget(upload);
  TdlgProgress* dialog = dialogs_.dlgProgress;
  if (!dialog) return;
  // Closed before the build began: nothing was built and the list stays as it was.
  if (dialog->exec() != QDialog::Accepted) return;

  // The archive method's archive follows a complete build, before the list looks at its date.
  std::string error;
  if (dialog->Succeeded() && !UpdateUploadArchive(dialog->FileList(), settings_, error)) ShowError(error);
  ShowUploadList(MakeUploadList(dialog->FileList(), settings_));
}

void TForm1::ShowUploadList(const TUploadList& list) {
  uploadList_ = list;
  CheckListBox1->setUpdatesEnabled(false);
  CheckListBox1->clear();
  for (const TUploadItem& item : list.Items) {
    auto* row = new QListWidgetItem(ToQ(item.Text), CheckListBox1);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(item.Checked ? Qt::Checked : Qt::Unchecked);
  }
  ShowPublishStates();
  CheckListBox1->setUpdatesEnabled(true);
  Label2->setText(ToQ(UsedSpaceText(list.TotalKB)));
}

}  // namespace pagolin
