// Leaving the site in the window, to quit or to open another site: the pending edits of every
// table are stored first, as moving to another record would store them.
#include <QCloseEvent>

#include "core/data/datamod.h"
#include "core/platform/hooks.h"
#include "gui/app/mainwindow.h"
#include "gui/widgets/dbgrid.h"

namespace pagolin {

bool TForm1::PostPendingEdits(const std::string& question) {
  const QList<TDBGrid*> grids = findChildren<TDBGrid*>();
  for (TTable* table : dataModule_.Tables()) {
    if (!table->Active()) continue;
    std::string error;
    for (TDBGrid* grid : grids)
      if (grid->DataSource() && grid->DataSource()->DataSet() == table && !grid->WriteOpenEditor(error))
        break;
    if (error.empty()) {
      try {
        const TDataSetState state = table->State();
        if (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert) {
          table->UpdateRecord();
          // A new record nobody wrote into goes, as when the grid moves off it.
          if (state == TDataSetState::dsInsert && !table->Modified())
            table->Cancel();
          else
            table->Post();
        }
      } catch (const std::exception& e) {
        error = e.what();
      }
    }
    if (error.empty()) continue;
    if (MessageDlg(error + "\n\n" + question, TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbOKCancel) !=
        TModalResult::mrOk)
      return false;
    for (TDBGrid* grid : grids)
      if (grid->DataSource() && grid->DataSource()->DataSet() == table) grid->DropOpenEditor();
    table->Cancel();
  }
  return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!PostPendingEdits("Quit without this change?")) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

}  // namespace pagolin
